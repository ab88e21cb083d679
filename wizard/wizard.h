// The search wizard: from choosing a transponder (from the list, or typed by hand) to the
// measuring step, and back.
#pragma once

#include "app/win32.h"

void showStartControls();
void onFindNext(WORD code);
void onBack(WORD code);
void onModeButton(WORD code);
