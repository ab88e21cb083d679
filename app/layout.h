// Layout: the rectangles that painting uses, the child controls and the compact view.
#pragma once

#include "app/win32.h"

// Reads the client area of the window being created and computes the normal-view rectangles.
void createLayout(HWND window);
// Reads the main window's client area and computes the rectangles of the current view.
void computeLayout();
// Creates the child controls of the window being created, in their fixed order.
void createControls(HWND window);
// Switches between the normal view and the wide, low compact view.
void toggleCompactView();
