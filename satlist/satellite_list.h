// The satellite list file, Data\satellite.ini: tested for (and offered to be created) at
// start-up, read into the combo box, and read again for the chosen entry at every search.
#pragma once

#include "app/win32.h"

// The accepted ranges, bounds included: C band 3400..4200 and Ku band 10700..15000 MHz;
// 1000..45000 kS/s.
bool frequencyAllowed(LONG mhz);
bool symbolRateAllowed(LONG rate);

void ensureListFile(HWND window);
void loadListBox(HWND window);
// Reads the chosen entry into the tuning parameters and the title line; false after a message.
bool readSelectedEntry();
