// Painting: the brushes and fonts made at window creation, and the paint handler that draws
// the frames, the prompts and, while measuring, the readout.
#pragma once

#include "app/win32.h"

// Makes the four solid brushes (frame, bar, green and red lamp).
void createBrushes();
// Makes the fonts and gives them to the edit box, the radio buttons and the satellite list.
void createFonts();
// Handles WM_PAINT of the main window.
void paintWindow(HWND window);
