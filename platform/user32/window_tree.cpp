// The window list for outside tools, as Spy++ shows one on Windows: with VINTOREL_WINDOW_TREE
// set to a file name, every SIGUSR1 writes the process's visible windows into that file
// (replaced whole), in the shape tests/gallery/wintree.exe prints for a Windows program: each
// visible top-level window and its visible descendants with class, text (UTF-8), id, style,
// window rectangle on the screen where it is shown, and for top-levels the client area on the
// screen; combo boxes their two item heights, buttons and statics whether they show an image.
// A combo box's dropped list is listed as a top-level "ComboLBox", a message box (a Qt dialog
// here) as Windows' dialog class "#32770" with its texts and buttons as "Static" and "Button"
// children. Not done: any other Qt window.
#include "common/codepage.h"
#include "common/signal_call.h"
#include "user32/window_manager.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QSaveFile>

#include <csignal>

namespace vintorel::user32 {
void startWindowTree();
} // namespace vintorel::user32

namespace {

using namespace vintorel::user32;

// Where a widget is shown, in Win32 screen coordinates.
QRect shownRect(const QWidget *w) {
    return QRect(w->mapToGlobal(QPoint(0, 0)) - primaryOrigin(), w->size());
}

QJsonArray rectJson(const QRect &r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// One window: its handle (and its parent's, null for a top-level one), class, text, id, style
// and where it is shown.
QJsonObject entry(const void *handle, const void *parent, const QString &cls, const QString &text,
                  int id, DWORD style, const QRect &rect) {
    const auto name = [](const void *h) {
        return h ? QJsonValue(QString::number(reinterpret_cast<quintptr>(h), 16))
                 : QJsonValue(QJsonValue::Null);
    };
    return {{"hwnd", name(handle)},
            {"parent", name(parent)},
            {"class", cls},
            {"text", text},
            {"id", id},
            {"style", static_cast<qint64>(style)},
            {"rect", rectJson(rect)}};
}

// A top-level window's client area is what its widget shows; its rectangle adds the frame
// Windows would draw around it.
void addFrame(QJsonObject &e, const QRect &client, DWORD style, DWORD exStyle) {
    const Insets in = nonClientInsets(style, exStyle, true);
    e["client"] = rectJson(client);
    e["rect"] = rectJson(client.adjusted(-in.left, -in.top, in.right, in.bottom));
}

bool shows(const WindowObject *wnd) {
    return (wnd->style & WS_VISIBLE) != 0 && (wnd->widget == nullptr || wnd->widget->isVisible());
}

void addWindow(const WindowObject *wnd, const void *parent, QJsonArray &windows,
               QJsonArray &popups) {
    const QString cls = QString::fromStdString(wnd->cls ? wnd->cls->name : "");
    const bool list = cls == "ComboLBox";
    const WindowObject *owner = WindowManager::instance().find(wnd->parent);
    const auto *combo = owner ? qobject_cast<const QComboBox *>(owner->widget.data()) : nullptr;
    QRect rect;
    if (wnd->widget != nullptr) {
        rect = shownRect(wnd->widget);
    } else if (list && combo != nullptr && combo->view()->window() != combo->window()) {
        rect = shownRect(combo->view()->window()); // the dropped list: Qt's popup
    } else {
        RECT r{};
        GetWindowRect(wnd->handle, &r);
        rect = QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
    }
    QJsonObject e = entry(wnd->handle, list ? nullptr : parent, cls,
                          vintorel::fromCp1251(wnd->text.c_str()), wnd->id, wnd->style, rect);
    if (parent == nullptr && wnd->widget != nullptr) {
        addFrame(e, rect, wnd->style, wnd->exStyle);
    }
    if (cls.compare("COMBOBOX", Qt::CaseInsensitive) == 0) {
        e["itemHeights"] =
            QJsonArray{static_cast<qint64>(
                           SendMessageA(wnd->handle, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)),
                       static_cast<qint64>(SendMessageA(wnd->handle, CB_GETITEMHEIGHT, 0, 0))};
    }
    if (cls.compare("BUTTON", Qt::CaseInsensitive) == 0) {
        e["image"] = false;
    } else if (cls.compare("STATIC", Qt::CaseInsensitive) == 0) {
        const DWORD type = wnd->style & 0x1F;
        e["image"] = type == SS_BITMAP || type == 0x3 /* SS_ICON */;
    }
    if (list) {
        popups.append(e);
        return;
    }
    windows.append(e);
    for (HWND child : wnd->children) {
        if (const WindowObject *c = WindowManager::instance().find(child); c && shows(c)) {
            addWindow(c, wnd->handle, windows, popups);
        }
    }
}

// A message box as Windows lists one: the dialog, its texts, its icon and its buttons.
void addMessageBox(const QMessageBox *box, QJsonArray &windows) {
    constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    QJsonObject dialog = entry(box, nullptr, "#32770", box->windowTitle(), 0, kStyle, {});
    addFrame(dialog, shownRect(box), kStyle, 0);
    windows.append(dialog);
    for (const QWidget *w : box->findChildren<QWidget *>()) {
        if (!w->isVisible()) {
            continue;
        }
        if (const auto *label = qobject_cast<const QLabel *>(w)) {
            const bool image = !label->pixmap().isNull();
            if (image || !label->text().isEmpty()) {
                QJsonObject e = entry(label, box, "Static", image ? QString() : label->text(), 0,
                                      WS_CHILD | WS_VISIBLE, shownRect(label));
                e["image"] = image;
                windows.append(e);
            }
        } else if (const auto *button = qobject_cast<const QAbstractButton *>(w)) {
            QJsonObject e = entry(button, box, "Button", button->text(), 0, WS_CHILD | WS_VISIBLE,
                                  shownRect(button));
            e["image"] = !button->icon().isNull();
            windows.append(e);
        }
    }
}

void writeTree(const QString &path) {
    QJsonArray windows;
    QJsonArray popups;
    WindowManager &wm = WindowManager::instance();
    for (HWND top : wm.topLevels()) {
        if (const WindowObject *wnd = wm.find(top); wnd && shows(wnd)) {
            addWindow(wnd, nullptr, windows, popups);
        }
    }
    for (const QJsonValue &popup : popups) {
        windows.append(popup);
    }
    for (const QWidget *w : QApplication::topLevelWidgets()) {
        if (const auto *box = qobject_cast<const QMessageBox *>(w); box && box->isVisible()) {
            addMessageBox(box, windows);
        }
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(QJsonObject{{"windows", windows}}).toJson());
        file.commit();
    }
}

} // namespace

namespace vintorel::user32 {

void startWindowTree() {
    const QString path = qEnvironmentVariable("VINTOREL_WINDOW_TREE");
    if (!path.isEmpty()) {
        vintorel::common::callOnSignal(SIGUSR1, [path] { writeTree(path); });
    }
}

} // namespace vintorel::user32
