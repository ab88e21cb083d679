// The COMBOBOX class with CBS_DROPDOWN (an editable QComboBox) and CBS_DROPDOWNLIST: items in
// insertion order (CBS_SORT sorts), a current selection that starts at none (CB_ERR) and is
// kept while the box is hidden, CB_ADDSTRING/CB_GETCURSEL/CB_SETCURSEL/CB_GETCOUNT/CB_GETLBTEXT/
// CB_DELETESTRING, CB_GETITEMHEIGHT, CB_SETHORIZONTALEXTENT (kept and reported), GetComboBoxInfo,
// and the notifications CBN_SELCHANGE, CBN_EDITCHANGE, CBN_DROPDOWN, CBN_CLOSEUP. Typing in the
// edit field clears the list's selection, as on Windows.
// Sizes as Windows' classic combo box: rows as tall as the font's cell, the closed box its cell
// + 8, the dropped list a popup of its own just below the box (above it when it would reach the
// screen's bottom), as tall as its rows plus a border up to the height given at creation, a
// whole number of rows, and without a horizontal scroll bar (Windows gives the list only the
// box's WS_VSCROLL). Not implemented: CBS_SIMPLE, owner-drawn items, item data,
// CB_SETITEMHEIGHT, CB_SETDROPPEDWIDTH.
#include "gdi32/gdi_internal.h"
#include "user32/controls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>
#include <QStandardItemModel>

#include <cstring>

namespace vintorel::user32 {

namespace {

constexpr WPARAM kMaxItems = 0x7FFF;
constexpr int kEdge = 2;     // the closed box's sunken edge, each side
constexpr int kTextPad = 4;  // the edit field: the font's cell and this
constexpr int kListEdge = 2; // the dropped list's border, top and bottom together

// The dropped list as a window of its own (what GetComboBoxInfo names): a child of the box in
// the window tree, not in the class table, whose rectangle and visibility follow the popup.
std::shared_ptr<WindowClass> listClass() {
    static const auto cls = [] {
        auto c = std::make_shared<WindowClass>();
        c->name = "ComboLBox";
        c->proc = DefWindowProcA;
        c->builtin = true;
        return c;
    }();
    return cls;
}

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
        w = box;
        adoptWidget(wnd, box);
        // Room for the list below the edit field of the box as created (with no font yet), as
        // Windows keeps it: the height given less the field, its padding and the edges.
        const int created = wnd.windowRect.bottom - wnd.windowRect.top;
        droppedMax = std::max(0, created - (cellHeight(nullptr) + kTextPad + kEdge + 1 + 2));
        QAbstractItemView *view = box->view();
        view->setTextElideMode(Qt::ElideNone);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
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
            if (Combo *c = controlAs<Combo>(hwnd_)) {
                c->placePopup();
            }
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

    static int cellHeight(HFONT font) { return std::max(1, gdi32::fontCellHeight(font)); }
    HFONT font() const {
        const WindowObject *o = WindowManager::instance().find(hwnd);
        return o ? o->font : nullptr;
    }
    int itemHeight() const { return cellHeight(font()); }
    int closedHeight() const { return itemHeight() + kTextPad + 2 * kEdge; }

    // One row of the list: the font's cell high, as wide as the horizontal extent when it is
    // set (the text is clipped at the list's edge, never elided).
    QSize rowSize() const { return QSize(std::max(extent, box()->width()), itemHeight()); }

    void applyRowSize() {
        if (auto *model = qobject_cast<QStandardItemModel *>(box()->model())) {
            const QSize size = rowSize();
            for (int row = 0; row < model->rowCount(); ++row) {
                if (QStandardItem *item = model->item(row)) {
                    item->setSizeHint(size);
                }
            }
        }
    }

    // The dropped list's height as Windows' combo box gives it: as tall as all rows and the
    // border when that is less than the room below the field, at least six rows (or one more
    // than there are, for fewer than five), then cut to a whole number of rows.
    int droppedHeight() const {
        const int row = itemHeight();
        const int count = box()->count();
        int height = droppedMax;
        if (count > 0) {
            const int all = row * count;
            if (all < height - kListEdge) {
                height = all + kListEdge;
            }
            if (height < all) {
                if (count < 5) {
                    height = (count + 1) * row;
                } else if (height < 6 * row) {
                    height = 6 * row;
                }
            }
        }
        const int inside = std::max(row, height - kListEdge);
        return inside - inside % row + kListEdge;
    }

    // Where the dropped list goes on the screen (Qt's global coordinates, from where the box
    // is shown): below the box, or above it when it would reach the bottom of the screen's
    // work area; moved sideways onto the screen.
    QRect droppedRect() const {
        const QRect shown(box()->mapToGlobal(QPoint(0, 0)), box()->size());
        const QSize size(shown.width(), droppedHeight());
        QRect work(primaryOrigin(),
                   QSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
        if (const QScreen *screen = box()->screen()) {
            work = screen->availableGeometry();
        }
        int top = shown.bottom() + 1;
        if (top + size.height() >= work.bottom() + 1) {
            top = shown.top() - size.height();
        }
        const int left =
            std::max(work.left(), std::min(shown.left(), work.right() + 1 - size.width()));
        return QRect(QPoint(left, top), size);
    }

    // Qt's popup, given the size and place Windows would give the list, with a one-pixel
    // border and the rows filling the rest.
    void placePopup() {
        QAbstractItemView *view = box()->view();
        QWidget *popup = view->parentWidget();
        if (popup == nullptr || !popup->isWindow()) {
            return;
        }
        if (auto *frame = qobject_cast<QFrame *>(popup)) {
            frame->setFrameStyle(QFrame::Box | QFrame::Plain);
            frame->setLineWidth(1);
            QPalette palette = frame->palette();
            palette.setColor(QPalette::WindowText, Qt::black);
            frame->setPalette(palette);
        }
        if (popup->layout() != nullptr) {
            popup->layout()->setContentsMargins(0, 0, 0, 0);
            popup->layout()->setSpacing(0);
        }
        if (auto *frame = qobject_cast<QFrame *>(view)) {
            frame->setFrameShape(QFrame::NoFrame);
        }
        applyRowSize();
        popup->setGeometry(droppedRect());
        watchPopup(popup);
        listWindow();
        syncListWindow();
    }

    // The list's window object, made on first use.
    HWND listWindow() {
        WindowManager &wm = WindowManager::instance();
        if (wm.find(list) == nullptr) {
            WindowObject *owner = wm.find(hwnd);
            if (owner == nullptr) {
                return nullptr;
            }
            WindowObject *o = wm.create();
            o->cls = listClass();
            o->proc = DefWindowProcA;
            o->parent = hwnd;
            o->instance = owner->instance;
            o->style = WS_CHILD | WS_BORDER | (owner->style & WS_VSCROLL);
            o->exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
            o->id = 1000; // the list's id inside a combo box
            owner->children.push_back(o->handle);
            list = o->handle;
            syncListWindow();
        }
        return list;
    }

    // The list window's rectangle (the box's client coordinates: where the popup is shown from
    // where the box is shown) and visibility, from the popup.
    void syncListWindow() {
        WindowObject *o = WindowManager::instance().find(list);
        QWidget *popup = box()->view()->parentWidget();
        if (o == nullptr || popup == nullptr) {
            return;
        }
        const bool shown = popup->isVisible();
        const QRect r = (shown ? popup->geometry() : droppedRect())
                            .translated(-box()->mapToGlobal(QPoint(0, 0)));
        o->windowRect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
        o->style = shown ? (o->style | WS_VISIBLE) : (o->style & ~WS_VISIBLE);
    }

    void watchPopup(QWidget *popup);

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
        return index;
    }

    bool sorted = false;
    int selected = -1;
    int extent = 0;
    int droppedMax = 0; // the list's room below the edit field, border included
    HWND list = nullptr;
    bool watching = false;
};

// Qt shows and hides its popup itself too (a click outside closes it): the list window
// follows.
class PopupWatch final : public QObject {
  public:
    PopupWatch(HWND combo, QObject *parent) : QObject(parent), combo_(combo) {}

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::Move:
        case QEvent::Resize:
            if (Combo *c = controlAs<Combo>(combo_)) {
                c->syncListWindow();
            }
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    HWND combo_;
};

void Combo::watchPopup(QWidget *popup) {
    if (!watching) {
        popup->installEventFilter(new PopupWatch(hwnd, popup));
        watching = true;
    }
}

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
        c->applyRowSize();
        return 0;
    case CB_GETITEMHEIGHT:
        // -1: the edit field; an item (any index, the rows are alike): a row of the list.
        if (static_cast<INT_PTR>(wParam) == -1) {
            return c->itemHeight() + kTextPad;
        }
        if (static_cast<INT_PTR>(wParam) < -1 ||
            (box->count() > 0 && static_cast<INT_PTR>(wParam) >= box->count())) {
            return CB_ERR;
        }
        return c->itemHeight();
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
        c->applyRowSize();
        // The closed box is as tall as its font needs, as on Windows.
        wnd->windowRect.bottom = wnd->windowRect.top + c->closedHeight();
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
            wnd.windowRect.bottom = wnd.windowRect.top + combo->closedHeight();
            return combo;
        },
        CS_DBLCLKS);
}

} // namespace vintorel::user32

using namespace vintorel::user32;

extern "C" BOOL WINAPI GetComboBoxInfo(HWND hwnd, PCOMBOBOXINFO info) {
    Combo *c = controlAs<Combo>(hwnd);
    if (c == nullptr || c->box() == nullptr || info == nullptr ||
        info->cbSize < sizeof(COMBOBOXINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RECT client{};
    GetClientRect(hwnd, &client);
    const LONG fieldBottom = kEdge + c->itemHeight() + kTextPad;
    info->rcButton = RECT{client.right - kEdge - GetSystemMetrics(SM_CXVSCROLL), kEdge,
                          client.right - kEdge, fieldBottom};
    info->rcItem = RECT{kEdge + 1, kEdge + 1, info->rcButton.left - 1, fieldBottom - 1};
    info->stateButton = 0;
    info->hwndCombo = hwnd;
    info->hwndItem = hwnd; // the edit field is part of the box itself here
    info->hwndList = c->listWindow();
    return TRUE;
}
