# Cross-compiling the Windows program on Linux with MinGW-w64: 64-bit with Debian's
# g++-mingw-w64-x86-64-posix (the windows preset), 32-bit with g++-mingw-w64-i686-posix
# (the windows32 preset, through mingw-w64-i686.cmake, which sets VINTOREL_MINGW_TARGET):
#   cmake --preset windows && cmake --build build/windows
if(NOT VINTOREL_MINGW_TARGET)
  set(VINTOREL_MINGW_TARGET x86_64-w64-mingw32)
  set(CMAKE_SYSTEM_PROCESSOR x86_64)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VINTOREL_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VINTOREL_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${VINTOREL_MINGW_TARGET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VINTOREL_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# pkg-config must look at the target's libraries, never at the build machine's.
set(ENV{PKG_CONFIG_LIBDIR} ${CMAKE_FIND_ROOT_PATH}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
