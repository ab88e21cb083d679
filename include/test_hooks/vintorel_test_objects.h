// Linux-only test hook, not Win32: how many objects of each kind the platform layer holds
// alive, so that a test or a long run can tell a leak from a steady state (on Windows a
// program that leaks GDI or USER objects stops painting at 10,000; GetGuiResources counts
// them there). Never included by the program.
#pragma once

#include <windows.h>

typedef struct VintorelObjectCounts {
    int gdiObjects; // brushes, fonts, bitmaps (not stock ones) and device contexts
    int windows;    // windows and controls
    int timers;
    int soundBuffers; // DirectSound secondary buffers
    int comObjects;   // DirectSound objects and buffers, registered class objects, and the
                      // in-process servers that still hold objects
    int openFiles;    // file and search handles
} VintorelObjectCounts;

VINTOREL_WIN32_API void VintorelCountObjects(VintorelObjectCounts *counts);
