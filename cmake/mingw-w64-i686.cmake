# The 32-bit Windows program (the windows32 preset), with Debian's g++-mingw-w64-i686-posix:
# the card drivers' DirectShow filters are often 32-bit only, and a filter loads only into a
# program of its own bitness.
set(VINTOREL_MINGW_TARGET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
