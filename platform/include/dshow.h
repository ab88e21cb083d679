// Win32 subset for Linux: the DirectShow header as far as the program uses it (IBaseFilter).
#pragma once
#include <strmif.h>
