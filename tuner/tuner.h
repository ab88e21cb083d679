// The tuner card: opening its filter and control interface with the start-up settings, the
// tuning sequence with the LNB band rule, and the release at shutdown.
#pragma once

#include "app/win32.h"

// Creates the filter and sends the start-up settings. On failure the window is already
// destroyed (after a message, except when the control interface is missing).
bool openTuner(HWND window);
void tuneTransponder(LONG polarity, LONG symbolRate, LONG frequencyMHz);
void releaseTuner();
