// Decimal text to number as the program reads typed values and list fields: leading white space
// skipped, an optional sign, then digits up to the first other character; no digits gives 0.
// Values beyond the 32-bit range saturate instead of overflowing.
#pragma once

#include "app/win32.h"

LONG parseDecimal(const char *text);
