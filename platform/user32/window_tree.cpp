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
#include "user32/window_manager.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QSaveFile>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace vintorel::user32 {
void startWindowTree();
} // namespace vintorel::user32

namespace {

using namespace vintorel::user32;

int g_wakeFd = -1;

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(g_wakeFd, &byte, 1);
}

QString quoted(const QString &text) {
    QString out = "\"";
    for (const QChar ch : text) {
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (ch.unicode() < 0x20) {
            out += QString("\\u%1").arg(ch.unicode(), 4, 16, QChar('0'));
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

QString rectText(const QRect &r) {
    return QString("[%1,%2,%3,%4]")
        .arg(r.left())
        .arg(r.top())
        .arg(r.left() + r.width())
        .arg(r.top() + r.height());
}

QString handleText(const void *handle) {
    return handle ? quoted(QString("%1").arg(reinterpret_cast<quintptr>(handle), 0, 16))
                  : QString("null");
}

// Where a widget is shown, in Win32 screen coordinates.
QRect shownRect(const QWidget *w) {
    return QRect(w->mapToGlobal(QPoint(0, 0)) - primaryOrigin(), w->size());
}

struct Entry {
    const void *handle = nullptr;
    const void *parent = nullptr;
    QString cls{};
    QString text{};
    int id = 0;
    DWORD style = 0;
    QRect rect{};
    std::optional<QRect> client{};
    QString extra{};
};

QString line(const Entry &e) {
    QString out =
        QString("{\"hwnd\":%1,\"parent\":%2,\"class\":%3,\"text\":%4,\"id\":%5,"
                "\"style\":%6,\"rect\":%7")
            .arg(handleText(e.handle), handleText(e.parent), quoted(e.cls), quoted(e.text))
            .arg(e.id)
            .arg(e.style)
            .arg(rectText(e.rect));
    if (e.client) {
        out += ",\"client\":" + rectText(*e.client);
    }
    return out + e.extra + "}";
}

bool shows(const WindowObject *wnd) {
    return (wnd->style & WS_VISIBLE) != 0 && (wnd->widget == nullptr || wnd->widget->isVisible());
}

void addWindow(const WindowObject *wnd, const void *parent, QStringList &lines,
               QStringList &popups) {
    Entry e{wnd->handle,
            parent,
            QString::fromStdString(wnd->cls ? wnd->cls->name : ""),
            vintorel::fromCp1251(wnd->text.c_str()),
            wnd->id,
            wnd->style};
    const WindowObject *owner = WindowManager::instance().find(wnd->parent);
    const auto *combo = owner ? qobject_cast<const QComboBox *>(owner->widget.data()) : nullptr;
    if (wnd->widget != nullptr) {
        e.rect = shownRect(wnd->widget);
    } else if (combo != nullptr && combo->view()->window() != combo->window()) {
        e.rect = shownRect(combo->view()->window()); // the dropped list: Qt's popup
    } else {
        RECT r{};
        GetWindowRect(wnd->handle, &r);
        e.rect = QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
    }
    const bool topLevel = parent == nullptr || e.cls == "ComboLBox";
    if (topLevel && wnd->widget != nullptr) {
        // The client area is what the widget shows; the rectangle adds the frame Windows
        // would draw around it.
        const Insets in = nonClientInsets(wnd->style, wnd->exStyle, true);
        e.client = e.rect;
        e.rect = e.rect.adjusted(-in.left, -in.top, in.right, in.bottom);
    }
    if (e.cls.compare("COMBOBOX", Qt::CaseInsensitive) == 0) {
        e.extra = QString(",\"itemHeights\":[%1,%2]")
                      .arg(SendMessageA(wnd->handle, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0))
                      .arg(SendMessageA(wnd->handle, CB_GETITEMHEIGHT, 0, 0));
    }
    if (e.cls.compare("BUTTON", Qt::CaseInsensitive) == 0 ||
        e.cls.compare("STATIC", Qt::CaseInsensitive) == 0) {
        const DWORD type = wnd->style & 0x1F;
        const bool image = e.cls.compare("STATIC", Qt::CaseInsensitive) == 0
                               ? (type == SS_BITMAP || type == 0x3 /* SS_ICON */)
                               : false;
        e.extra = QString(",\"image\":%1").arg(image ? "true" : "false");
    }
    if (e.cls == "ComboLBox") {
        e.parent = nullptr;
        popups << line(e);
        return;
    }
    lines << line(e);
    for (HWND child : wnd->children) {
        if (const WindowObject *c = WindowManager::instance().find(child); c && shows(c)) {
            addWindow(c, wnd->handle, lines, popups);
        }
    }
}

// A message box as Windows lists one: the dialog, its texts, its icon and its buttons.
void addMessageBox(const QMessageBox *box, QStringList &lines) {
    Entry e{box, nullptr, "#32770", box->windowTitle(), 0, WS_POPUP | WS_CAPTION | WS_SYSMENU};
    e.client = shownRect(box);
    const Insets in = nonClientInsets(e.style, 0, true);
    e.rect = e.client->adjusted(-in.left, -in.top, in.right, in.bottom);
    lines << line(e);
    for (const QWidget *w : box->findChildren<QWidget *>()) {
        if (!w->isVisible()) {
            continue;
        }
        if (const auto *label = qobject_cast<const QLabel *>(w)) {
            const bool image = !label->pixmap().isNull();
            if (!image && label->text().isEmpty()) {
                continue;
            }
            Entry s{label,
                    box,
                    "Static",
                    image ? QString() : label->text(),
                    0,
                    WS_CHILD | WS_VISIBLE,
                    shownRect(label)};
            s.extra = QString(",\"image\":%1").arg(image ? "true" : "false");
            lines << line(s);
        } else if (const auto *button = qobject_cast<const QAbstractButton *>(w)) {
            Entry b{button,           box, "Button", button->text(), 0, WS_CHILD | WS_VISIBLE,
                    shownRect(button)};
            b.extra = QString(",\"image\":%1").arg(button->icon().isNull() ? "false" : "true");
            lines << line(b);
        }
    }
}

void writeTree(const QString &path) {
    QStringList lines;
    QStringList popups;
    WindowManager &wm = WindowManager::instance();
    for (HWND top : wm.topLevels()) {
        if (const WindowObject *wnd = wm.find(top); wnd && shows(wnd)) {
            addWindow(wnd, nullptr, lines, popups);
        }
    }
    lines << popups;
    for (const QWidget *w : QApplication::topLevelWidgets()) {
        if (const auto *box = qobject_cast<const QMessageBox *>(w); box && box->isVisible()) {
            addMessageBox(box, lines);
        }
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return;
    }
    file.write(("{\"windows\":[\n" + lines.join(",\n") + "\n]}\n").toUtf8());
    file.commit();
}

} // namespace

namespace vintorel::user32 {

void startWindowTree() {
    const QString path = qEnvironmentVariable("VINTOREL_WINDOW_TREE");
    int fds[2];
    if (path.isEmpty() || g_wakeFd >= 0 || pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    g_wakeFd = fds[1];
    auto *notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [fd = fds[0], path] {
        char drained[64];
        while (read(fd, drained, sizeof drained) > 0) {
        }
        writeTree(path);
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESTART;
    sigaction(SIGUSR1, &action, nullptr);
}

} // namespace vintorel::user32
