// The main window: its class, creation, the window procedure that dispatches every message to
// the part of the program that handles it, and the message loop.
#pragma once

#include "app/win32.h"

inline constexpr char kMainWindowClass[] = "TarvoWizard";
inline constexpr char kMainWindowTitle[] = "V i n t o r e l";

void registerMainWindowClass(HINSTANCE instance);
// Registers the class, places and creates the main window; null when creation failed.
HWND createMainWindow(HINSTANCE instance);
int runMessageLoop();
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
