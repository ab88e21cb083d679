// What EndPaint hands to Qt: only the part whose pixels differ from what the screen shows, so
// a program that repaints an unchanged readout on every timer costs no repaint and no transfer
// to the display.
#include "user32/window_manager.h"

#include <QCoreApplication>
#include <QPaintEvent>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

// Failures name rectangles, not their bytes.
void PrintTo(const QRect &r, std::ostream *out) {
    *out << r.width() << "x" << r.height() << "+" << r.x() << "+" << r.y();
}

namespace {

using vintorel::user32::changedArea;

TEST(ChangedArea, BoundsThePixelsThatDiffer) {
    struct Row {
        const char *name;
        std::vector<QPoint> changed;
        QRect within, expected;
    };
    const QRect all(0, 0, 40, 20);
    const Row rows[] = {
        {"nothing", {}, all, QRect()},
        {"one pixel", {{7, 3}}, all, QRect(7, 3, 1, 1)},
        {"first and last pixel", {{0, 0}, {39, 19}}, all, all},
        {"two apart", {{30, 2}, {5, 11}}, all, QRect(QPoint(5, 2), QPoint(30, 11))},
        {"outside what is asked", {{30, 2}}, QRect(0, 5, 40, 15), QRect()},
        {"partly outside", {{30, 2}, {5, 11}}, QRect(0, 5, 40, 15), QRect(5, 11, 1, 1)},
        {"asked beyond the image", {{39, 19}}, QRect(30, 10, 50, 50), QRect(39, 19, 1, 1)},
    };
    QImage before(all.size(), QImage::Format_RGB32);
    before.fill(Qt::white);
    for (const Row &row : rows) {
        QImage after = before.copy();
        for (const QPoint &p : row.changed) {
            after.setPixel(p, qRgb(255, 0, 0));
        }
        EXPECT_EQ(changedArea(before, after, row.within), row.expected) << row.name;
    }
    // Images that are not alike (a resized window, nothing shown yet) differ everywhere.
    EXPECT_EQ(changedArea(QImage(), before, QRect(5, 5, 100, 5)), QRect(5, 5, 35, 5));
    EXPECT_EQ(changedArea(before.copy(0, 0, 20, 20), before, all), all);
}

std::function<void(HDC, const RECT &)> g_paint;

LRESULT CALLBACK presentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (g_paint) {
            g_paint(dc, ps.rcPaint);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The regions Qt repaints on a widget.
class PaintLog : public QObject {
  public:
    std::vector<QRect> painted;
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint) {
            painted.push_back(static_cast<QPaintEvent *>(event)->region().boundingRect());
        }
        return false;
    }
};

void settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

TEST(Present, OnlyWhatAPaintChangedIsRepainted) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = presentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PresentTestWindow";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "present", WS_POPUP, 0, 0, 100, 50, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    g_paint = [&](HDC dc, const RECT &area) { FillRect(dc, &area, white); };
    ShowWindow(window, SW_SHOWNA);
    UpdateWindow(window);
    settle();
    PaintLog log;
    vintorel::user32::widgetOf(window)->installEventFilter(&log);

    struct Row {
        const char *name;
        std::function<void(HDC, const RECT &)> paint;
        std::vector<QRect> repainted;
    };
    const RECT square{20, 10, 30, 15};
    const Row rows[] = {
        {"the same pixels again", [&](HDC dc, const RECT &a) { FillRect(dc, &a, white); }, {}},
        {"a red square",
         [&](HDC dc, const RECT &a) {
             FillRect(dc, &a, white);
             FillRect(dc, &square, red);
         },
         {QRect(20, 10, 10, 5)}},
        {"the red square again",
         [&](HDC dc, const RECT &a) {
             FillRect(dc, &a, white);
             FillRect(dc, &square, red);
         },
         {}},
        {"white again",
         [&](HDC dc, const RECT &a) { FillRect(dc, &a, white); },
         {QRect(20, 10, 10, 5)}},
    };
    for (const Row &row : rows) {
        g_paint = row.paint;
        log.painted.clear();
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        settle();
        EXPECT_EQ(log.painted, row.repainted) << row.name;
    }
    g_paint = nullptr;
    DestroyWindow(window);
    DeleteObject(white);
    DeleteObject(red);
}

} // namespace
