// The BUTTON class: push buttons (QPushButton), radio buttons and check boxes (QRadioButton,
// QCheckBox) with Win32 rules: BM_GETCHECK/BM_SETCHECK, BM_CLICK, BN_CLICKED to the parent, and
// automatic radio buttons that check themselves and uncheck the other radio buttons of their
// group (the siblings between two WS_GROUP controls). Not implemented: owner-drawn buttons,
// three-state check boxes, BS_BITMAP/BS_ICON images, BN_DOUBLECLICKED.
#include "user32/controls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace vintorel::user32 {

namespace {

class Button final : public QtControl {
  public:
    Button(WindowObject &wnd) : QtControl(wnd), type(wnd.style & BS_TYPEMASK) {
        QAbstractButton *button = nullptr;
        if (isRadio()) {
            auto *radio = new QRadioButton;
            radio->setAutoExclusive(false);
            button = radio;
        } else if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX) {
            button = new QCheckBox;
        } else {
            button = new QPushButton;
            static_cast<QPushButton *>(button)->setAutoDefault(false);
        }
        button->setText(textFromBytes(wnd.text.c_str()));
        w = button;
        adoptWidget(wnd, button);
        const HWND self = hwnd;
        QObject::connect(button, &QAbstractButton::clicked, button,
                         [self] { clicked(self, false); });
    }

    bool isRadio() const { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }
    bool isAuto() const { return type == BS_AUTORADIOBUTTON || type == BS_AUTOCHECKBOX; }
    QAbstractButton *button() const { return static_cast<QAbstractButton *>(w.data()); }

    void setCheck(bool on) {
        checked = on;
        if (button() && (isRadio() || type == BS_CHECKBOX || type == BS_AUTOCHECKBOX)) {
            const QSignalBlocker block(button());
            button()->setChecked(on);
        }
    }

    // A click by the user (from Qt) or by BM_CLICK.
    static void clicked(HWND hwnd, bool synchronous);

    DWORD type;
    bool checked = false;
};

void uncheckGroupSiblings(HWND hwnd) {
    WindowManager &wm = WindowManager::instance();
    WindowObject *self = wm.find(hwnd);
    WindowObject *parent = self ? wm.find(self->parent) : nullptr;
    if (parent == nullptr) {
        return;
    }
    // The group: from the nearest WS_GROUP control at or before this one to the next one.
    const auto &siblings = parent->children;
    const auto at = std::find(siblings.begin(), siblings.end(), hwnd);
    if (at == siblings.end()) {
        return;
    }
    auto first = at;
    while (first != siblings.begin()) {
        WindowObject *w = wm.find(*first);
        if (w && (w->style & WS_GROUP)) {
            break;
        }
        --first;
    }
    for (auto it = first; it != siblings.end(); ++it) {
        WindowObject *w = wm.find(*it);
        if (w == nullptr) {
            continue;
        }
        if (it != first && (w->style & WS_GROUP)) {
            break;
        }
        if (*it != hwnd) {
            if (auto *other = dynamic_cast<Button *>(w->control.get()); other && other->isRadio()) {
                other->setCheck(false);
            }
        }
    }
}

void Button::clicked(HWND hwnd, bool synchronous) {
    Button *b = controlAs<Button>(hwnd);
    if (b == nullptr) {
        return;
    }
    if (b->type == BS_AUTORADIOBUTTON) {
        b->setCheck(true);
        uncheckGroupSiblings(hwnd);
    } else if (b->type == BS_AUTOCHECKBOX) {
        b->setCheck(!b->checked);
    } else if (b->isRadio() || b->type == BS_CHECKBOX) {
        b->setCheck(b->checked); // non-automatic buttons keep their state: the owner decides
    }
    if (synchronous) {
        sendNotification(hwnd, BN_CLICKED);
    } else {
        postNotification(hwnd, BN_CLICKED);
    }
}

LRESULT CALLBACK buttonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowObject *wnd = WindowManager::instance().find(hwnd);
    Button *b = controlAs<Button>(hwnd);
    if (wnd == nullptr || b == nullptr) {
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case BM_GETCHECK:
        return b->checked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
        b->setCheck(wParam == BST_CHECKED);
        return 0;
    case BM_CLICK:
        if (IsWindowEnabled(hwnd)) {
            Button::clicked(hwnd, true);
        }
        return 0;
    case WM_SETTEXT:
        storeText(wnd, lParam);
        if (b->button()) {
            b->button()->setText(textFromBytes(wnd->text.c_str()));
        }
        return TRUE;
    default:
        return controlDefaultProc(wnd, msg, wParam, lParam);
    }
}

} // namespace

void registerButtonClass() {
    addBuiltinClass(
        "BUTTON", buttonProc, [](WindowObject &wnd) { return std::make_unique<Button>(wnd); },
        CS_DBLCLKS);
}

} // namespace vintorel::user32
