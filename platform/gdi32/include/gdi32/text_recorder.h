// The text-call recorder behind VintorelSetTextRecorder: text.cpp reports every call here.
#pragma once

#include "gdi32/gdi_internal.h"

namespace vintorel::gdi32 {

// Passes one call to the installed recorder, if any. DrawTextA's rectangle is `rect`; TextOutA
// passes null and its point.
void recordTextCall(const DeviceContext &dc, int function, const char *text, int count, int length,
                    int x, int y, const RECT *rect, UINT format);

} // namespace vintorel::gdi32
