// MessageBoxA: a modal Qt message box owned by the given window, with the buttons of MB_OK,
// MB_OKCANCEL, MB_YESNO and MB_YESNOCANCEL and the icons of MB_ICONERROR, MB_ICONQUESTION,
// MB_ICONWARNING and MB_ICONINFORMATION. As on Windows the owner is disabled while the box is
// open and a nested loop keeps dispatching the thread's messages (timer ticks, paints). The
// test hook replaces the dialog by an answering function. Not implemented: MB_HELP, default
// button flags, system-modal and service boxes.
#include "user32/window_manager.h"
#include "vintorel_trace.h"

#include "common/codepage.h"
#include "vintorel_test_message_box.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

using namespace vintorel::user32;

namespace {

VintorelMessageBoxAnswerer g_answerer = nullptr;
void *g_answererContext = nullptr;

QMessageBox::Icon iconFor(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONWARNING:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
};

ButtonSet buttonsFor(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok};
    case MB_YESNOCANCEL:
        return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes};
    case MB_YESNO:
        return {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes};
    default:
        return {QMessageBox::Ok, QMessageBox::Ok};
    }
}

int resultFor(QMessageBox::StandardButton button, UINT type) {
    switch (button) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        // Closed without a button: what Escape would give.
        switch (type & MB_TYPEMASK) {
        case MB_YESNO:
            return IDNO;
        case MB_OK:
            return IDOK;
        default:
            return IDCANCEL;
        }
    }
}

// Windows puts a message box in the middle of the work area of the screen its owner is on, not
// over the owner. The position goes as the layer moves every top-level window: the Win32
// window rectangle's corner to Qt's frame position.
void centreOnScreen(QMessageBox *box, QWidget *owner) {
    const Insets in = nonClientInsets(WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, true);
    const QSize outer = box->size() + QSize(in.left + in.right, in.top + in.bottom);
    const QScreen *screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect work = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QPoint corner(work.left() + (work.width() - outer.width()) / 2,
                        work.top() + (work.height() - outer.height()) / 2);
    box->move(corner);
}

} // namespace

extern "C" {

void VintorelSetMessageBoxAnswerer(VintorelMessageBoxAnswerer answerer, void *context) {
    g_answerer = answerer;
    g_answererContext = context;
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    VINTOREL_TRACE(USER32, "MessageBoxA %p \"%s\" caption \"%s\" type %#x",
                   static_cast<void *>(owner), text ? text : "", caption ? caption : "", type);
    if (g_answerer != nullptr) {
        return g_answerer(g_answererContext, owner, text ? text : "", caption ? caption : "Error",
                          type);
    }
    if (qobject_cast<QApplication *>(QCoreApplication::instance()) == nullptr) {
        return 0;
    }
    WindowManager &wm = WindowManager::instance();
    // The box belongs to the owner's top-level window.
    HWND top = owner;
    while (WindowObject *w = wm.find(top)) {
        if (!w->isChild()) {
            break;
        }
        top = w->parent;
    }
    QWidget *parent = widgetOf(top);
    const ButtonSet set = buttonsFor(type);
    // Guarded: if the owner goes away while the box is open, Qt deletes the box with it.
    QPointer<QMessageBox> box =
        new QMessageBox(iconFor(type), vintorel::fromCp1251(caption ? caption : "Error"),
                        vintorel::fromCp1251(text ? text : ""), set.buttons, parent);
    box->setDefaultButton(set.defaultButton);
    // As on Windows: the buttons in one row in the middle of the box, text only (some Qt
    // styles and desktop themes give standard buttons icons and put them at the right).
    for (QAbstractButton *button : box->buttons()) {
        button->setIcon(QIcon());
    }
    if (auto *row = box->findChild<QDialogButtonBox *>()) {
        row->setCenterButtons(true);
    }
    box->setWindowModality(Qt::ApplicationModal);
    box->setAttribute(Qt::WA_DeleteOnClose, false);

    // The owner is disabled while the box is open, as on Windows; Qt's modality blocks its
    // input, so its widget stays enabled (disabling it would disable the box, its child).
    WindowObject *ownerWindow = wm.find(top);
    const bool ownerWasEnabled = ownerWindow && !(ownerWindow->style & WS_DISABLED);
    if (ownerWasEnabled) {
        ownerWindow->style |= WS_DISABLED;
    }
    bool finished = false;
    QObject::connect(box, &QDialog::finished, [&finished](int) { finished = true; });
    box->show();
    centreOnScreen(box, parent);
    box->raise();
    box->activateWindow();
    runModalLoop([&] { return finished || box.isNull() || wm.quitPosted; });
    const QMessageBox::StandardButton clicked =
        box ? box->standardButton(box->clickedButton()) : QMessageBox::NoButton;
    int result = resultFor(clicked, type);
    if (!finished) {
        if (box) {
            box->close();
        }
    }
    delete box;
    if (WindowObject *again = wm.find(top); ownerWasEnabled && again) {
        again->style &= ~WS_DISABLED;
        if (QWidget *w = widgetOf(top)) {
            w->activateWindow();
        }
    }
    return result;
}

} // extern "C"
