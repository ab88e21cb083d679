// What the program holds stays the same however long it is used: every step and switch of the
// wizard and of measuring, a hundred times over, with real message boxes and real sound (the
// clips into OpenAL Soft's null output), leaves every object count of the platform layer where
// the first round left it; and closing the window gives back all it made but five bitmaps and
// brushes.
#include "program_fixture.h"
#include "vintorel_test_objects.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <tuple>

namespace {

auto fields(const VintorelObjectCounts &c) {
    return std::tie(c.gdiObjects, c.windows, c.timers, c.soundBuffers, c.comObjects, c.openFiles);
}

std::string describe(const VintorelObjectCounts &c) {
    return "gdi " + std::to_string(c.gdiObjects) + ", windows " + std::to_string(c.windows) +
           ", timers " + std::to_string(c.timers) + ", sound buffers " +
           std::to_string(c.soundBuffers) + ", COM " + std::to_string(c.comObjects) + ", files " +
           std::to_string(c.openFiles);
}

VintorelObjectCounts counts() {
    VintorelObjectCounts c{};
    VintorelCountObjects(&c);
    return c;
}

class ObjectCountsTest : public ProgramTest {
  protected:
    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "null", 1);
        ProgramTest::SetUp();
        for (const auto &clip : std::filesystem::directory_iterator(VINTOREL_CLIP_DIR)) {
            std::filesystem::copy_file(clip.path(),
                                       folder->path() / "Data" / clip.path().filename());
        }
        boxes.reset(); // real message boxes, each closed by OK as soon as it shows
        closer = new QTimer(qApp);
        QObject::connect(closer, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                ++boxesClosed;
                boxTexts += box->text().toStdString() + "|";
                box->done(IDOK);
            }
        });
        closer->start(5);
    }
    void TearDown() override {
        delete closer;
        ProgramTest::TearDown();
        unsetenv("ALSOFT_DRIVERS");
    }
    void command(int id, HWND control, WORD code = BN_CLICKED) {
        SendMessageA(app.mainWindow, WM_COMMAND, MAKEWPARAM(id, code),
                     reinterpret_cast<LPARAM>(control));
        pumpMessages();
    }
    void tick() {
        SendMessageA(app.mainWindow, WM_TIMER, POLL_TIMER, 0);
        SendMessageA(app.mainWindow, WM_TIMER, ANNOUNCE_TIMER, 0);
        pumpMessages();
    }
    void doubleClick() {
        SendMessageA(app.mainWindow, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(200, 30));
        pumpMessages();
    }
    // Measuring for a few polls with every switch, then back to the step it came from.
    void measureWithEverySwitch() {
        tick();
        command(ID_SOUND_STATIC, app.soundStatic, STN_CLICKED); // spoken digits
        tick();
        command(ID_FLAG_STATIC, app.flagStatic, STN_CLICKED); // Russian
        doubleClick();                                        // the compact view
        tick();
        doubleClick();
        command(ID_ABOUT_BUTTON, app.aboutButton);
        command(ID_SOUND_STATIC, app.soundStatic, STN_CLICKED); // the tone again
        command(ID_FLAG_STATIC, app.flagStatic, STN_CLICKED);   // English
        tick();
        command(ID_BACK_BUTTON, app.backButton);
    }
    void round() {
        // From the list, with nothing chosen (a warning), then the first satellite.
        SendMessageA(app.satelliteCombo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        command(ID_FIND_BUTTON, app.findButton);
        SendMessageA(app.satelliteCombo, CB_SETCURSEL, 0, 0);
        command(ID_FIND_BUTTON, app.findButton);
        measureWithEverySwitch();
        // Typed values, each wrong once (a warning) before it is right.
        command(ID_MODE_BUTTON, app.modeButton);
        for (const char *frequency : {"99999", "12245"}) {
            SetWindowTextA(app.editBox, frequency);
            command(ID_FIND_BUTTON, app.findButton);
        }
        for (const char *rate : {"0", "27500"}) {
            SetWindowTextA(app.editBox, rate);
            command(ID_FIND_BUTTON, app.findButton);
        }
        SendMessageA(app.verticalRadio, BM_CLICK, 0, 0);
        command(ID_FIND_BUTTON, app.findButton);
        measureWithEverySwitch();
        command(ID_BACK_BUTTON, app.backButton);
        command(ID_BACK_BUTTON, app.backButton);
        command(ID_MODE_BUTTON, app.modeButton);
    }

    QTimer *closer = nullptr;
    int boxesClosed = 0;
    std::string boxTexts;
};

TEST_F(ObjectCountsTest, AHundredRoundsOfEveryStepAndSwitchHoldNothingMore) {
    const VintorelObjectCounts before = counts();
    ASSERT_NE(createShownWindow(), nullptr);
    round();
    ASSERT_EQ(app.step, 0);
    ASSERT_EQ(app.entryMode, 0);
    ASSERT_EQ(boxesClosed, 5) << "three warnings and About twice: " << boxTexts;
    const VintorelObjectCounts settled = counts();
    EXPECT_GT(settled.soundBuffers, 0) << "the clips were loaded";
    EXPECT_GT(settled.gdiObjects, before.gdiObjects);
    for (int i = 1; i < 100; ++i) {
        round();
        const VintorelObjectCounts now = counts();
        ASSERT_EQ(fields(now), fields(settled)) << "round " << i + 1 << ": " << describe(now)
                                                << ", after the first: " << describe(settled);
    }
    EXPECT_EQ(boxesClosed, 500);
    DestroyWindow(app.mainWindow);
    pumpMessages();
    // Kept, as the program means to: the class's background brush and four bitmaps (the two it
    // loads and the two the statics loaded from their texts), freed with the process.
    VintorelObjectCounts kept = before;
    kept.gdiObjects += 5;
    EXPECT_EQ(fields(counts()), fields(kept))
        << "after closing: " << describe(counts()) << ", before: " << describe(before);
}

} // namespace
