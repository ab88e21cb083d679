// Records the text calls drawn on every device context while it lives, through the platform's
// text hook, so tests see the bytes, places, fonts and colours without depending on fonts.
#pragma once

#include "vintorel_test_gdi.h"

#include <string>
#include <vector>

struct TextCall {
    HWND window;
    int function;
    std::string bytes; // the bytes the call takes
    int count;
    int x, y;
    RECT rect;
    UINT format;
    LOGFONTA font;
    COLORREF textColor;
    COLORREF bkColor;
    int bkMode;
};

class TextCalls {
  public:
    TextCalls() { VintorelSetTextRecorder(&TextCalls::record, this); }
    ~TextCalls() { VintorelSetTextRecorder(nullptr, nullptr); }
    TextCalls(const TextCalls &) = delete;
    TextCalls &operator=(const TextCalls &) = delete;

    std::vector<TextCall> calls;

  private:
    static void record(void *self, const VintorelTextCall *c) {
        static_cast<TextCalls *>(self)->calls.push_back(
            {c->window, c->function, std::string(c->text ? c->text : "", c->length), c->count, c->x,
             c->y, c->rect, c->format, c->font, c->textColor, c->bkColor, c->bkMode});
    }
};
