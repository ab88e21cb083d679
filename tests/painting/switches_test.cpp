// The language flag, the sound icon and the About button, clicked as the platform reports it:
// a command from the control with its notification code.
#include "mouse.h"
#include "program_fixture.h"
#include "text_calls.h"

#include <cstring>

namespace {

class SwitchesTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_NE(createShownWindow(), nullptr);
        britishFlag = imageOf(app.flagStatic);
        lips = imageOf(app.soundStatic);
        ASSERT_NE(britishFlag, nullptr);
        ASSERT_NE(lips, nullptr);
        ASSERT_NE(app.flagRuBitmap, nullptr);
        ASSERT_NE(app.soundVoiceBitmap, nullptr);
        russianFlag = app.flagRuBitmap;
        note = app.soundVoiceBitmap;
    }

    static HBITMAP imageOf(HWND control) {
        return reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
    }

    static void click(int id, HWND control, WORD code = STN_CLICKED) {
        SendMessageA(app.mainWindow, WM_COMMAND, MAKEWPARAM(id, code),
                     reinterpret_cast<LPARAM>(control));
    }

    // True when the whole client area waits for a repaint; the request is then taken away.
    static bool wholeWindowInvalidated() {
        RECT update{};
        const bool pending = GetUpdateRect(app.mainWindow, &update, FALSE) != FALSE;
        ValidateRect(app.mainWindow, nullptr);
        return pending && update.left == 0 && update.top == 0 && update.right == 334 &&
               update.bottom == 144;
    }

    HBITMAP britishFlag = nullptr;
    HBITMAP russianFlag = nullptr;
    HBITMAP lips = nullptr;
    HBITMAP note = nullptr;
};

TEST_F(SwitchesTest, FlagSwitchesToRussianAndBack) {
    ValidateRect(app.mainWindow, nullptr);
    click(ID_FLAG_STATIC, app.flagStatic);
    EXPECT_EQ(app.language, 0);
    EXPECT_EQ(imageOf(app.flagStatic), russianFlag);
    EXPECT_EQ(app.flagEnBitmap, britishFlag);
    EXPECT_EQ(static_cast<unsigned char>(app.snrText[0]), 241); // с
    EXPECT_EQ(app.snrText[1], '/');
    EXPECT_EQ(static_cast<unsigned char>(app.snrText[2]), 248); // ш
    EXPECT_EQ(app.snrText[3], '=');
    EXPECT_TRUE(wholeWindowInvalidated());

    click(ID_FLAG_STATIC, app.flagStatic);
    EXPECT_EQ(app.language, 1);
    EXPECT_EQ(imageOf(app.flagStatic), britishFlag);
    EXPECT_EQ(app.flagRuBitmap, russianFlag);
    EXPECT_EQ(std::string(app.snrText, 4), "s/n=");
    EXPECT_TRUE(wholeWindowInvalidated());
}

TEST_F(SwitchesTest, SoundIconSwitchesToVoiceAndBack) {
    ValidateRect(app.mainWindow, nullptr);
    click(ID_SOUND_STATIC, app.soundStatic);
    EXPECT_EQ(app.voiceMode, 1);
    EXPECT_EQ(imageOf(app.soundStatic), note);
    EXPECT_EQ(app.soundToneBitmap, lips);
    EXPECT_TRUE(wholeWindowInvalidated());

    click(ID_SOUND_STATIC, app.soundStatic);
    EXPECT_EQ(app.voiceMode, 0);
    EXPECT_EQ(imageOf(app.soundStatic), lips);
    EXPECT_EQ(app.soundVoiceBitmap, note);
    EXPECT_TRUE(wholeWindowInvalidated());
    EXPECT_EQ(app.language, 1) << "the switches are independent";
}

TEST_F(SwitchesTest, DoubleClickOnASwitchFlipsItOnce) {
    // The sound icon shows while measuring; a double-click on the window itself then switches
    // the view.
    app.step = 3;
    ShowWindow(app.soundStatic, SW_SHOW);
    pumpMessages();
    clickAt(middleOf(app.flagStatic), 2);
    clickAt(middleOf(app.soundStatic), 2);
    pumpMessages();
    EXPECT_EQ(app.language, 0);
    EXPECT_EQ(app.voiceMode, 1);
    EXPECT_EQ(app.compactView, 0);
    POINT readout{150, 100};
    ClientToScreen(app.mainWindow, &readout);
    clickAt(readout, 2);
    pumpMessages();
    EXPECT_EQ(app.compactView, 1);
}

TEST_F(SwitchesTest, OtherNotificationsChangeNothing) {
    const std::string snr(app.snrText, 8);
    ValidateRect(app.mainWindow, nullptr);
    for (const WORD code :
         {static_cast<WORD>(STN_DBLCLK), static_cast<WORD>(2), static_cast<WORD>(0xFFFF)}) {
        SCOPED_TRACE(code);
        click(ID_FLAG_STATIC, app.flagStatic, code);
        click(ID_SOUND_STATIC, app.soundStatic, code);
        EXPECT_EQ(app.language, 1);
        EXPECT_EQ(app.voiceMode, 0);
        EXPECT_EQ(imageOf(app.flagStatic), britishFlag);
        EXPECT_EQ(imageOf(app.soundStatic), lips);
        EXPECT_EQ(std::string(app.snrText, 8), snr);
        EXPECT_FALSE(GetUpdateRect(app.mainWindow, nullptr, FALSE));
    }
}

TEST_F(SwitchesTest, EveryClickShowsTheTablesPicture) {
    for (int clicks = 1; clicks <= 6; ++clicks) {
        SCOPED_TRACE(clicks);
        click(ID_FLAG_STATIC, app.flagStatic);
        click(ID_SOUND_STATIC, app.soundStatic);
        const bool odd = clicks % 2 == 1;
        EXPECT_EQ(imageOf(app.flagStatic), odd ? russianFlag : britishFlag);
        EXPECT_EQ(imageOf(app.soundStatic), odd ? note : lips);
        EXPECT_EQ(app.language, odd ? 0 : 1);
        EXPECT_EQ(app.voiceMode, odd ? 1 : 0);
    }
    // The saved handles never leak into each other's place.
    EXPECT_EQ(app.flagRuBitmap, russianFlag);
    EXPECT_EQ(app.flagEnBitmap, britishFlag);
    EXPECT_EQ(app.soundVoiceBitmap, note);
    EXPECT_EQ(app.soundToneBitmap, lips);
}

TEST_F(SwitchesTest, LanguageWhileMeasuringChangesTheSnrLabelAtOnce) {
    app.step = 3;
    app.quality = 57;
    std::memcpy(app.qualityText, "57", 3);
    std::memcpy(app.snrText, "s/n=11.2", 8);
    click(ID_FLAG_STATIC, app.flagStatic);
    TextCalls record;
    UpdateWindow(app.mainWindow);
    ASSERT_EQ(record.calls.size(), 4u);
    EXPECT_EQ(record.calls[1].bytes, "\xD3\xF0\xEE\xE2\xE5\xED\xFC \xF1\xE8\xE3\xED\xE0\xEB\xE0");
    EXPECT_EQ(record.calls[3].bytes, "\xF1/\xF8=11.2") << "number part unchanged";
    click(ID_FLAG_STATIC, app.flagStatic);
    record.calls.clear();
    UpdateWindow(app.mainWindow);
    ASSERT_EQ(record.calls.size(), 4u);
    EXPECT_EQ(record.calls[3].bytes, "s/n=11.2");
}

TEST_F(SwitchesTest, AboutShowsNameAndVersionWhateverTheNotification) {
    ValidateRect(app.mainWindow, nullptr);
    for (const WORD code : {static_cast<WORD>(BN_CLICKED), static_cast<WORD>(7)}) {
        click(ID_ABOUT_BUTTON, app.aboutButton, code);
    }
    ASSERT_EQ(boxes->shown().size(), 2u);
    for (const MessageBoxRecord &box : boxes->shown()) {
        EXPECT_EQ(box.owner, app.mainWindow);
        EXPECT_EQ(box.caption, "About");
        EXPECT_NE(box.text.find("Vintorel"), std::string::npos);
        EXPECT_NE(box.text.find(VINTOREL_VERSION), std::string::npos);
        EXPECT_EQ(box.type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    }
    EXPECT_FALSE(GetUpdateRect(app.mainWindow, nullptr, FALSE)) << "nothing repainted";
    EXPECT_EQ(app.language, 1);
    EXPECT_EQ(app.voiceMode, 0);
}

} // namespace
