// Win32 subset for Linux: multimedia declarations (the wave format lives in mmreg.h).
#pragma once
#include <mmreg.h>
