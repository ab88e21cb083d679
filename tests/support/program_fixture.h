// Base fixture of the program tests: a fresh AppState, a recorded message box hook and a
// recording tuner filter for every test; the main window destroyed afterwards if it remains.
#pragma once

#include "app/app_state.h"
#include "app/main_window.h"
#include "message_boxes.h"
#include "recording_tuner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

// The four satellites that a new list holds.
inline constexpr char kDefaultListBytes[] =
    "[Astra 1B-1H,2C   19.2e]=12515h22000;[Eutelsat W4/Sesat   36.0e]=12360h26480;"
    "[HotBird 1-6   13.0e]=10723h29900;[Sirius 2/3,Astra 1A   5.0e]=12465h10787;";

// A fresh temporary working folder for the program (its paths are relative), entered while
// it lives.
class WorkingFolder {
  public:
    WorkingFolder();
    ~WorkingFolder();
    WorkingFolder(const WorkingFolder &) = delete;
    WorkingFolder &operator=(const WorkingFolder &) = delete;

    const std::filesystem::path &path() const { return path_; }
    void writeFile(const std::string &relative, const std::string &bytes) const;
    std::string readFile(const std::string &relative) const;

  private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

class ProgramTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the main window as WinMain does; the result is also in app.mainWindow.
    HWND createWindow();
    // Creates the main window, shows it and paints it once, as WinMain does before its loop.
    HWND createShownWindow();
    // Puts the program at the measuring step as a poll with this quality leaves it.
    void measureAt(LONG quality, const char *title);
    // Dispatches what is queued (posted messages, paints, due timers) without waiting.
    void pumpMessages();
    // True once the destroy steps have asked the message loop to end.
    bool quitRequested();

    // Sets the list file's bytes (before createWindow), or removes Data/ entirely.
    void useList(const std::string &bytes);
    void useNoDataFolder();

    std::unique_ptr<WorkingFolder> folder;
    std::unique_ptr<RegisteredTuner> tuner;
    std::unique_ptr<MessageBoxes> boxes;
};
