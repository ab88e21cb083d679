// The language flag, the sound icon and the About button: what a click on each one does.
#pragma once

#include "app/win32.h"

// Command from the flag: English <-> Russian (prompts, messages, digit clips, S/N label).
void toggleLanguage(WORD code);
// Command from the sound icon: tone after every measurement <-> spoken digits.
void toggleVoiceMode(WORD code);
// Command from the About button: the product name and version in a message box.
void showAbout(WORD code);
