// The COMBOBOX class with CBS_DROPDOWN (an editable QComboBox) and CBS_DROPDOWNLIST: items in
// insertion order (CBS_SORT sorts), a current selection that starts at none (CB_ERR) and is
// kept while the box is hidden, CB_ADDSTRING/CB_GETCURSEL/CB_SETCURSEL/CB_GETCOUNT/CB_GETLBTEXT/
// CB_DELETESTRING, CB_SETHORIZONTALEXTENT (the list scrolls sideways that far), a drop-down list
// as tall as the window height given at creation, and the notifications CBN_SELCHANGE,
// CBN_EDITCHANGE, CBN_DROPDOWN, CBN_CLOSEUP. Typing in the edit field clears the list's
// selection, as on Windows. Not implemented: CBS_SIMPLE, owner-drawn items, item data.
#include "user32/controls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStandardItemModel>

#include <cstring>

namespace vintorel::user32 {

namespace {

constexpr WPARAM kMaxItems = 0x7FFF;

bool stepSelection(HWND hwnd, QKeyEvent *event);

// The edit field sees the keys first; Up and Down belong to the list.
class ArrowKeys final : public QObject {
  public:
    ArrowKeys(HWND hwnd, QObject *parent) : QObject(parent), hwnd_(hwnd) {}

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::KeyPress &&
            stepSelection(hwnd_, static_cast<QKeyEvent *>(event))) {
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    HWND hwnd_;
};

class Combo final : public QtControl {
  public:
    Combo(WindowObject &wnd) : QtControl(wnd) {
        const DWORD kind = wnd.style & 0x3;
        sorted = (wnd.style & CBS_SORT) != 0;
        auto *box = new NotifyingBox(hwnd);
        box->setEditable(kind == CBS_DROPDOWN || kind == CBS_SIMPLE);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMaxVisibleItems(12);
        w = box;
        adoptWidget(wnd, box);
        listHeight = wnd.windowRect.bottom - wnd.windowRect.top;
        const HWND self = hwnd;
        QObject::connect(box, qOverload<int>(&QComboBox::activated), box, [self](int index) {
            if (Combo *c = controlAs<Combo>(self)) {
                c->selected = index;
                c->syncText();
            }
            postNotification(self, CBN_SELCHANGE);
            postNotification(self, CBN_SELENDOK);
        });
        if (box->lineEdit() != nullptr) {
            box->lineEdit()->installEventFilter(new ArrowKeys(hwnd, box->lineEdit()));
            QObject::connect(box->lineEdit(), &QLineEdit::textEdited, box, [self](const QString &) {
                if (Combo *c = controlAs<Combo>(self)) {
                    c->selected = -1;
                    c->syncText();
                }
                postNotification(self, CBN_EDITUPDATE);
                postNotification(self, CBN_EDITCHANGE);
            });
        }
    }

    class NotifyingBox final : public QComboBox {
      public:
        explicit NotifyingBox(HWND hwnd) : hwnd_(hwnd) {}
        void showPopup() override {
            postNotification(hwnd_, CBN_DROPDOWN);
            QComboBox::showPopup();
        }
        void hidePopup() override {
            QComboBox::hidePopup();
            postNotification(hwnd_, CBN_CLOSEUP);
        }

      protected:
        void keyPressEvent(QKeyEvent *event) override {
            if (!stepSelection(hwnd_, event)) {
                QComboBox::keyPressEvent(event);
            }
        }

      private:
        HWND hwnd_;
    };

    QComboBox *box() const { return static_cast<QComboBox *>(w.data()); }

    // Qt moves its own current index around as items come and go; Windows' selection is ours.
    void showSelection() {
        if (box() == nullptr) {
            return;
        }
        const QSignalBlocker block(box());
        const QString edit = box()->isEditable() ? box()->currentText() : QString();
        box()->setCurrentIndex(selected);
        if (box()->isEditable() && selected < 0) {
            box()->setEditText(edit);
        }
    }

    void syncText() {
        if (WindowObject *o = WindowManager::instance().find(hwnd); o && box()) {
            o->text = bytesFromText(box()->currentText());
        }
    }

    int rowHeight() const {
        const int hint = box()->view()->sizeHintForRow(0);
        return hint > 0 ? hint : box()->fontMetrics().height() + 2;
    }

    // The size of one row of the list: the horizontal extent as its width when one is set, so
    // that the list scrolls sideways that far.
    QSize rowSize() const { return extent > 0 ? QSize(extent, rowHeight()) : QSize(); }

    // The number of visible rows changes only with the font, the extent or the first row. The
    // edit field's height is taken once per font, since QComboBox measures every item for its
    // size hint.
    void applyVisibleRows() {
        if (editHeight <= 0) {
            editHeight = box()->sizeHint().height();
        }
        box()->setMaxVisibleItems(
            std::max(1, (listHeight - editHeight) / std::max(rowHeight(), 1)));
    }

    void applyExtentAndHeight() {
        if (box() == nullptr) {
            return;
        }
        QAbstractItemView *view = box()->view();
        view->setTextElideMode(Qt::ElideNone);
        view->setHorizontalScrollBarPolicy(extent > 0 ? Qt::ScrollBarAsNeeded
                                                      : Qt::ScrollBarAlwaysOff);
        if (auto *model = qobject_cast<QStandardItemModel *>(box()->model())) {
            const QSize size = rowSize();
            for (int row = 0; row < model->rowCount(); ++row) {
                if (QStandardItem *item = model->item(row)) {
                    item->setSizeHint(size);
                }
            }
            applyVisibleRows();
        }
    }

    // Where a sorted box puts a new item: after every item that compares less or equal,
    // found by halving (the list stays sorted), so that filling a long list stays quick.
    int sortedPosition(const QString &item) const {
        int low = 0;
        int high = box()->count();
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (QString::compare(box()->itemText(middle), item, Qt::CaseInsensitive) <= 0) {
                low = middle + 1;
            } else {
                high = middle;
            }
        }
        return low;
    }

    int addString(const char *text) {
        if (box() == nullptr || static_cast<WPARAM>(box()->count()) >= kMaxItems) {
            return CB_ERRSPACE;
        }
        const QString item = textFromBytes(text);
        int index = box()->count();
        if (sorted) {
            index = sortedPosition(item);
            if (selected >= index) {
                ++selected;
            }
        }
        const QString edit = box()->isEditable() ? box()->currentText() : QString();
        {
            const QSignalBlocker block(box());
            box()->insertItem(index, item);
        }
        showSelection();
        if (box()->isEditable() && selected < 0) {
            const QSignalBlocker block(box());
            box()->setEditText(edit); // adding an item leaves the edit field as it was
        }
        // Only the new row needs its size; the others keep theirs, so a fill stays linear.
        if (auto *model = qobject_cast<QStandardItemModel *>(box()->model())) {
            if (QStandardItem *added = model->item(index)) {
                added->setSizeHint(rowSize());
            }
        }
        if (box()->count() == 1) {
            applyVisibleRows();
        }
        return index;
    }

    bool sorted = false;
    int selected = -1;
    int extent = 0;
    int listHeight = 0;
    int editHeight = 0; // the closed box's height for the current font; 0: not yet measured
};

LRESULT CALLBACK comboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowObject *wnd = WindowManager::instance().find(hwnd);
    Combo *c = controlAs<Combo>(hwnd);
    if (wnd == nullptr || c == nullptr || c->box() == nullptr) {
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    QComboBox *box = c->box();
    LRESULT result = 0;
    switch (msg) {
    case CB_ADDSTRING:
        return c->addString(reinterpret_cast<const char *>(lParam));
    case CB_GETCOUNT:
        return box->count();
    case CB_GETCURSEL:
        return c->selected >= 0 ? c->selected : CB_ERR;
    case CB_SETCURSEL: {
        const auto index = static_cast<INT_PTR>(wParam);
        if (index < 0 || index >= box->count()) {
            c->selected = -1;
            c->showSelection();
            c->syncText();
            return CB_ERR;
        }
        c->selected = static_cast<int>(index);
        c->showSelection();
        c->syncText();
        return c->selected;
    }
    case CB_GETLBTEXTLEN: {
        const auto index = static_cast<INT_PTR>(wParam);
        if (index < 0 || index >= box->count()) {
            return CB_ERR;
        }
        return static_cast<LRESULT>(bytesFromText(box->itemText(static_cast<int>(index))).size());
    }
    case CB_GETLBTEXT: {
        const auto index = static_cast<INT_PTR>(wParam);
        char *out = reinterpret_cast<char *>(lParam);
        if (index < 0 || index >= box->count() || out == nullptr) {
            return CB_ERR;
        }
        const std::string text = bytesFromText(box->itemText(static_cast<int>(index)));
        std::memcpy(out, text.c_str(), text.size() + 1); // the caller sized it by CB_GETLBTEXTLEN
        return static_cast<LRESULT>(text.size());
    }
    case CB_DELETESTRING: {
        const auto index = static_cast<INT_PTR>(wParam);
        if (index < 0 || index >= box->count()) {
            return CB_ERR;
        }
        {
            const QSignalBlocker block(box);
            box->removeItem(static_cast<int>(index));
        }
        if (c->selected == index) {
            c->selected = -1;
        } else if (c->selected > index) {
            --c->selected;
        }
        c->showSelection();
        return box->count();
    }
    case 0x014B: // CB_RESETCONTENT
    {
        const QSignalBlocker block(box);
        box->clear();
        c->selected = -1;
        return 0; // CB_OKAY
    }
    case CB_SETHORIZONTALEXTENT:
        c->extent = static_cast<int>(wParam);
        c->applyExtentAndHeight();
        return 0;
    case CB_GETHORIZONTALEXTENT:
        return c->extent;
    case CB_SHOWDROPDOWN:
        if (wParam) {
            box->showPopup();
        } else {
            box->hidePopup();
        }
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return box->view() && box->view()->isVisible() ? TRUE : FALSE;
    case CB_LIMITTEXT:
        if (box->lineEdit()) {
            box->lineEdit()->setMaxLength(
                wParam == 0 ? 32767 : static_cast<int>(std::min<WPARAM>(wParam, 32767)));
        }
        return TRUE;
    case WM_SETTEXT:
        storeText(wnd, lParam);
        if (box->isEditable()) {
            const QSignalBlocker block(box);
            box->setEditText(textFromBytes(wnd->text.c_str()));
        }
        return TRUE;
    case WM_SETFONT:
        handleCommonMessage(wnd, msg, wParam, lParam, &result);
        box->view()->setFont(box->font());
        c->editHeight = 0;
        c->applyExtentAndHeight();
        // The closed box is as tall as its font needs, as on Windows.
        wnd->windowRect.bottom = wnd->windowRect.top + box->sizeHint().height();
        box->setGeometry(wnd->windowRect.left, wnd->windowRect.top,
                         wnd->windowRect.right - wnd->windowRect.left,
                         wnd->windowRect.bottom - wnd->windowRect.top);
        return 0;
    default:
        return controlDefaultProc(wnd, msg, wParam, lParam);
    }
}

// Up and Down step the selection from where the program's selection stands (none: the first
// item), as a closed Windows combo box does. True when the key was used.
bool stepSelection(HWND hwnd, QKeyEvent *event) {
    Combo *c = controlAs<Combo>(hwnd);
    QComboBox *box = c ? c->box() : nullptr;
    const bool arrow = event->key() == Qt::Key_Down || event->key() == Qt::Key_Up;
    if (box == nullptr || !arrow || (event->modifiers() & Qt::AltModifier) ||
        box->view()->isVisible() || box->count() == 0) {
        return false;
    }
    int next = c->selected < 0 ? 0 : c->selected + (event->key() == Qt::Key_Down ? 1 : -1);
    next = std::clamp(next, 0, box->count() - 1);
    event->accept();
    if (next != c->selected) {
        c->selected = next;
        c->showSelection();
        c->syncText();
        postNotification(hwnd, CBN_SELCHANGE);
    }
    return true;
}

} // namespace

void registerComboBoxClass() {
    addBuiltinClass(
        "COMBOBOX", comboProc,
        [](WindowObject &wnd) -> std::unique_ptr<ControlImpl> {
            auto combo = std::make_unique<Combo>(wnd);
            // The window is as tall as its edit field; the height given at creation
            // is the dropped-down list's.
            if (QWidget *widget = combo->widget()) {
                wnd.windowRect.bottom = wnd.windowRect.top + widget->sizeHint().height();
            }
            return combo;
        },
        CS_DBLCLKS);
}

} // namespace vintorel::user32
