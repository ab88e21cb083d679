// Screen coordinates on a desktop whose primary monitor is not at the origin of the virtual
// desktop (two_screens.json: the primary one at 1280,200): Windows' screen is the primary
// monitor, so the program's centred window lands in the middle of it.
#include "program_fixture.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

QWidget *topLevelTitled(const char *title) {
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->windowTitle() == QLatin1String(title)) {
            return w;
        }
    }
    return nullptr;
}

TEST_F(ProgramTest, CentredOnThePrimaryMonitorWhereverItIs) {
    const QRect primary = QGuiApplication::primaryScreen()->geometry();
    ASSERT_EQ(primary, QRect(1280, 200, 1024, 768)) << "the test's two-screen desktop";
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    ASSERT_NE(createShownWindow(), nullptr);
    RECT r{};
    GetWindowRect(app.mainWindow, &r);
    EXPECT_EQ(r.left, 512 - 170);
    EXPECT_EQ(r.top, 384 - 75);
    const QWidget *window = topLevelTitled(kMainWindowTitle);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->pos(), primary.topLeft() + QPoint(r.left, r.top));
    EXPECT_EQ(window->screen(), QGuiApplication::primaryScreen());
}

} // namespace
