// Base fixture of the program tests: a fresh AppState, a recorded message box hook and a
// recording tuner filter for every test; the main window destroyed afterwards if it remains.
#pragma once

#include "app/app_state.h"
#include "app/main_window.h"
#include "message_boxes.h"
#include "recording_tuner.h"

#include <gtest/gtest.h>

#include <memory>

class ProgramTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the main window as WinMain does; the result is also in app.mainWindow.
    HWND createWindow();
    // Dispatches what is queued (posted messages, paints, due timers) without waiting.
    void pumpMessages();
    // True once the destroy steps have asked the message loop to end.
    bool quitRequested();

    std::unique_ptr<RegisteredTuner> tuner;
    std::unique_ptr<MessageBoxes> boxes;
};
