// A message box text in the program's two languages, shown in the current one.
#pragma once

#include "app/win32.h"

struct Message {
    const char *english;
    const char *englishCaption;
    const char *russian; // Windows-1251
    const char *russianCaption;
    UINT type;
};

// Shows the message in the current language, owned by the given window; returns the button.
int showMessage(HWND owner, const Message &message);
