// What each DLL of the layer holds alive, for the object-count test hook (object_counts.cpp):
// each function is implemented in its DLL's files and counts what a leak would pile up.
#pragma once

namespace vintorel::gdi32 {
int liveObjectCount(); // brushes, fonts and bitmaps not from the stock, and device contexts
} // namespace vintorel::gdi32

namespace vintorel::user32 {
int windowCount(); // window objects, destroyed ones not yet freed included
int timerCount();
} // namespace vintorel::user32

namespace vintorel::dsound {
int soundBufferCount();
int deviceCount(); // DirectSound objects
} // namespace vintorel::dsound

namespace vintorel::ole32 {
// Registered class objects, and the in-process servers that say they still hold objects.
int comObjectCount();
} // namespace vintorel::ole32

namespace vintorel::kernel32 {
int openHandleCount(); // files and searches
} // namespace vintorel::kernel32
