// DrawFrameControl for the scroll arrows (DFC_SCROLL: up, down, left, right; pushed, inactive),
// drawn in the desktop's style as a tool button with an arrow, so that a control painted with it
// looks like the toolkit's own controls beside it, as Windows' arrows follow its theme.
// Not implemented: the other frame kinds (buttons, captions, menus), DFCS_FLAT, DFCS_MONO,
// DFCS_HOT, DFCS_ADJUSTRECT.
#include "gdi32/gdi_internal.h"
#include "vintorel_trace.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOptionToolButton>

extern "C" {

BOOL WINAPI DrawFrameControl(HDC handle, LPRECT rect, UINT type, UINT state) {
    VINTOREL_TRACE(USER32, "DrawFrameControl %p type %u state %#x", static_cast<void *>(handle),
                   type, state);
    vintorel::gdi32::DeviceContext *dc = vintorel::gdi32::dcOf(handle);
    if (dc == nullptr || rect == nullptr || type != DFC_SCROLL ||
        QApplication::style() == nullptr) {
        return FALSE;
    }
    static constexpr Qt::ArrowType kArrows[] = {Qt::UpArrow, Qt::DownArrow, Qt::LeftArrow,
                                                Qt::RightArrow};
    const UINT arrow = state & 0xFF;
    if (arrow >= std::size(kArrows)) {
        return FALSE;
    }
    QStyleOptionToolButton option;
    option.rect = QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    option.palette = QApplication::palette("QToolButton");
    option.state = (state & DFCS_PUSHED) ? QStyle::State_Sunken : QStyle::State_Raised;
    if (!(state & DFCS_INACTIVE)) {
        option.state |= QStyle::State_Enabled;
    }
    option.subControls = QStyle::SC_ToolButton;
    option.activeSubControls = (state & DFCS_PUSHED) ? QStyle::SC_ToolButton : QStyle::SC_None;
    option.features = QStyleOptionToolButton::Arrow;
    option.arrowType = kArrows[arrow];
    option.toolButtonStyle = Qt::ToolButtonIconOnly;
    const int icon = QApplication::style()->pixelMetric(QStyle::PM_ButtonIconSize);
    option.iconSize = QSize(icon, icon); // as a QToolButton has it
    vintorel::gdi32::paintOn(dc, [&](QPainter &painter) {
        // The whole rectangle is the control's, as Windows fills it with the button face.
        painter.fillRect(option.rect, option.palette.color(QPalette::Button));
        QApplication::style()->drawComplexControl(QStyle::CC_ToolButton, &option, &painter);
    });
    return TRUE;
}

} // extern "C"
