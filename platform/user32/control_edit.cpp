// The EDIT class, single-line (QLineEdit): ES_NUMBER refuses typed non-digits, EM_LIMITTEXT
// limits what the user types (not what WM_SETTEXT puts in, as on Windows), ES_CENTER/ES_RIGHT,
// EM_SETMARGINS, EM_GETSEL/EM_SETSEL, WM_SETTEXT/WM_GETTEXT, and the notifications EN_CHANGE,
// EN_UPDATE, EN_MAXTEXT, EN_SETFOCUS, EN_KILLFOCUS. Keys typed into it stay in it. Once a
// program subclasses the box (GWLP_WNDPROC), each key pressed reaches the window procedure as
// WM_KEYDOWN (from the message loop, not inside the toolkit's key delivery), and the box types
// it only when the message arrives at its own procedure, so the subclass may keep a key.
// Not implemented: multi-line edits, password style, undo messages, EM_REPLACESEL.
#include "user32/controls.h"
#include "user32/host_widget.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

namespace vintorel::user32 {

namespace {

constexpr int kDefaultLimit = 0x7FFFFFFE;

class Edit;

// Refuses typing that breaks the digits-only rule or the text limit. Text that is already
// longer than the limit (put in by WM_SETTEXT) may still be shortened.
class EditValidator final : public QValidator {
  public:
    EditValidator(Edit *edit, QObject *parent) : QValidator(parent), edit_(edit) {}
    State validate(QString &input, int &pos) const override;

  private:
    Edit *edit_;
};

// Keys never travel on from the edit box to the parent window, handled or not. A key pressed
// into a subclassed box waits for its WM_KEYDOWN (deliverKey).
class EditEvents final : public QObject {
  public:
    EditEvents(Edit *edit, QObject *parent) : QObject(parent), edit_(edit) {}

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    Edit *edit_;
};

class KeySink final : public QLineEdit {
  protected:
    void keyPressEvent(QKeyEvent *event) override {
        QLineEdit::keyPressEvent(event);
        event->accept();
    }
};

class Edit final : public QtControl {
  public:
    Edit(WindowObject &wnd) : QtControl(wnd) {
        auto *line = new KeySink;
        line->setFrame(true);
        if (wnd.style & ES_CENTER) {
            line->setAlignment(Qt::AlignCenter);
        } else if (wnd.style & ES_RIGHT) {
            line->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        digitsOnly = (wnd.style & ES_NUMBER) != 0;
        line->setValidator(new EditValidator(this, line));
        line->setText(textFromBytes(wnd.text.c_str()));
        line->installEventFilter(new EditEvents(this, line));
        w = line;
        adoptWidget(wnd, line);
        const HWND self = hwnd;
        QObject::connect(line, &QLineEdit::textEdited, line, [self](const QString &text) {
            if (WindowObject *o = WindowManager::instance().find(self)) {
                o->text = bytesFromText(text);
            }
            postNotification(self, EN_UPDATE);
            postNotification(self, EN_CHANGE);
        });
    }

    QLineEdit *line() const { return static_cast<QLineEdit *>(w.data()); }

    // Types a key into the line edit, past the filter that holds back keys of a subclassed box.
    void type(QKeyEvent *key) {
        replaying = true;
        QCoreApplication::sendEvent(line(), key);
        replaying = false;
    }

    // Types a key the user pressed, now that its WM_KEYDOWN reached the box's procedure.
    bool typeWaitingKey(UINT vk) {
        if (!waitingKey || waitingKey->vk != vk || line() == nullptr) {
            return false;
        }
        const std::unique_ptr<WaitingKey> key = std::move(waitingKey);
        type(key->event.get());
        return true;
    }

    struct WaitingKey {
        UINT vk;
        std::unique_ptr<QKeyEvent> event;
    };
    std::unique_ptr<WaitingKey> waitingKey;
    bool replaying = false;
    bool digitsOnly = false;
    int limit = kDefaultLimit;
};

bool subclassed(HWND hwnd) {
    const WindowObject *wnd = WindowManager::instance().find(hwnd);
    return wnd != nullptr && wnd->cls && wnd->proc != wnd->cls->proc;
}

// A key pressed into a subclassed box, sent to its procedure as WM_KEYDOWN; the box may be gone.
void deliverKey(HWND hwnd, const QKeyEvent &pressed) {
    Edit *e = controlAs<Edit>(hwnd);
    if (e == nullptr || e->line() == nullptr) {
        return;
    }
    auto copy = std::unique_ptr<QKeyEvent>(pressed.clone());
    const UINT vk = virtualKeyFromQt(pressed.key());
    if (vk == 0) { // no virtual key stands for it: typed as it is
        e->type(copy.get());
        return;
    }
    e->waitingKey = std::make_unique<Edit::WaitingKey>(Edit::WaitingKey{vk, std::move(copy)});
    SendMessageA(hwnd, WM_KEYDOWN, vk, keyParam(&pressed, false));
    if (Edit *again = controlAs<Edit>(hwnd)) {
        again->waitingKey.reset(); // kept by the subclass
    }
}

bool EditEvents::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        event->accept();
        if (!edit_->replaying && subclassed(edit_->hwnd)) {
            const HWND hwnd = edit_->hwnd;
            const std::shared_ptr<QKeyEvent> pressed(static_cast<QKeyEvent *>(event)->clone());
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [hwnd, pressed] { deliverKey(hwnd, *pressed); },
                Qt::QueuedConnection);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QValidator::State EditValidator::validate(QString &input, int &) const {
    if (edit_->digitsOnly) {
        for (QChar c : input) {
            if (!c.isDigit() || c.unicode() > 0x7F) {
                return Invalid;
            }
        }
    }
    const qsizetype current = edit_->line() ? edit_->line()->text().size() : 0;
    if (input.size() > edit_->limit && input.size() >= current) {
        postNotification(edit_->hwnd, EN_MAXTEXT);
        return Invalid;
    }
    return Acceptable;
}

LRESULT CALLBACK editProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowObject *wnd = WindowManager::instance().find(hwnd);
    Edit *e = controlAs<Edit>(hwnd);
    if (wnd == nullptr || e == nullptr) {
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_SETTEXT:
        storeText(wnd, lParam);
        if (e->line()) {
            const QSignalBlocker block(e->line());
            e->line()->setText(textFromBytes(wnd->text.c_str()));
        }
        sendNotification(hwnd, EN_UPDATE);
        sendNotification(hwnd, EN_CHANGE);
        return TRUE;
    case WM_SETFOCUS:
        postNotification(hwnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        postNotification(hwnd, EN_KILLFOCUS);
        return 0;
    case WM_CHAR:
    case WM_KEYDOWN:
        // A key sent to the edit box is typed into it, through the same checks as the keyboard.
        if (msg == WM_KEYDOWN && e->typeWaitingKey(static_cast<UINT>(wParam))) {
            return 0;
        }
        if (e->line()) {
            const bool isChar = msg == WM_CHAR;
            const int key = isChar ? 0 : qtKeyFromVirtualKey(static_cast<UINT>(wParam));
            const QString text =
                isChar ? QString(QChar(static_cast<char16_t>(wParam & 0xFF))) : QString();
            if (isChar && (wParam == VK_BACK || wParam == VK_ESCAPE || wParam == VK_RETURN)) {
                return 0; // those act on WM_KEYDOWN
            }
            QKeyEvent event(QEvent::KeyPress, isChar ? Qt::Key_unknown : key, Qt::NoModifier, text);
            e->type(&event);
        }
        return 0;
    case EM_LIMITTEXT:
        e->limit =
            wParam == 0 ? kDefaultLimit : static_cast<int>(std::min<WPARAM>(wParam, kDefaultLimit));
        return 0;
    case EM_GETLIMITTEXT:
        return e->limit;
    case EM_SETMARGINS:
        if (e->line()) {
            QMargins m = e->line()->textMargins();
            if (wParam & EC_LEFTMARGIN) {
                m.setLeft(LOWORD(lParam));
            }
            if (wParam & EC_RIGHTMARGIN) {
                m.setRight(HIWORD(lParam));
            }
            e->line()->setTextMargins(m);
        }
        return 0;
    case EM_GETMARGINS:
        if (e->line()) {
            const QMargins m = e->line()->textMargins();
            return MAKELRESULT(m.left(), m.right());
        }
        return 0;
    case EM_SETSEL:
        if (e->line()) {
            const int length = static_cast<int>(e->line()->text().size());
            int start = static_cast<int>(static_cast<INT_PTR>(wParam));
            int end = static_cast<int>(lParam);
            if (start < 0) {
                e->line()->deselect();
                return 0;
            }
            if (end < 0 || end > length) {
                end = length;
            }
            start = std::min(start, length);
            e->line()->setSelection(start, end - start);
        }
        return 0;
    case EM_GETSEL:
        if (e->line()) {
            const int start = e->line()->hasSelectedText()
                                  ? static_cast<int>(e->line()->selectionStart())
                                  : e->line()->cursorPosition();
            const int end = start + static_cast<int>(e->line()->selectedText().size());
            if (wParam) {
                *reinterpret_cast<DWORD *>(wParam) = static_cast<DWORD>(start);
            }
            if (lParam) {
                *reinterpret_cast<DWORD *>(lParam) = static_cast<DWORD>(end);
            }
            return MAKELRESULT(start, end);
        }
        return 0;
    default:
        return controlDefaultProc(wnd, msg, wParam, lParam);
    }
}

} // namespace

void registerEditClass() {
    addBuiltinClass(
        "EDIT", editProc, [](WindowObject &wnd) { return std::make_unique<Edit>(wnd); },
        CS_DBLCLKS);
}

} // namespace vintorel::user32
