# The Windows build: the same program sources against the system's own Win32 headers and
# libraries, with the resource script compiled in. No platform layer and no Qt, OpenAL or
# libdvbv5: Windows itself provides user32, gdi32, comctl32, ole32 and dsound, and the card's
# driver provides the tuner filter. Built here besides the program: the clip decoder
# OptimFROG.dll (over libFLAC's decoder from third_party/flac, as Debian has no libFLAC for
# MinGW), the simulated card vintorel_tuner_sim.dll, the zip package and the installer
# (packaging/windows), and the Windows checks (tests/windows).

# The platform layer's header target is empty here: <windows.h> is the system's own.
add_library(vintorel_platform_api INTERFACE)

# 32-bit (windows32 preset) or 64-bit (windows preset): the packages are named after it.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VINTOREL_WINDOWS_BITS 64)
  set(VINTOREL_MANIFEST_ARCH amd64)
else()
  set(VINTOREL_WINDOWS_BITS 32)
  set(VINTOREL_MANIFEST_ARCH x86)
endif()

# Every binary declares Windows Vista (6.0) as the oldest it runs on, the first Windows with all
# it imports (GetTickCount64, which the thread runtime linked into the DLLs calls); the loader
# refuses it on an older one instead of failing on a missing entry point.
add_link_options(-Wl,--major-os-version,6,--minor-os-version,0
                 -Wl,--major-subsystem-version,6,--minor-subsystem-version,0)

# Every binary is self-contained: no libstdc++/libgcc/winpthread DLLs to ship beside it; release
# binaries without symbols.
function(vintorel_windows_static target)
  if(MINGW)
    target_link_options(${target} PRIVATE -static $<$<CONFIG:Release>:-s>)
  endif()
endfunction()

add_subdirectory(third_party/flac)
add_subdirectory(components/common)
add_subdirectory(components/clipdecoder)
add_subdirectory(components/simtuner)

add_executable(vintorel WIN32 ${VINTOREL_PROGRAM_SOURCES} resources/vintorel.rc)
target_include_directories(vintorel PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(vintorel PRIVATE vintorel_interfaces)
target_compile_definitions(vintorel PRIVATE VINTOREL_VERSION="${PROJECT_VERSION}")
# The resource script's version resource and manifest (resources/vintorel.rc).
configure_file(resources/vintorel.manifest.in ${CMAKE_BINARY_DIR}/resources/vintorel.manifest
               @ONLY)
set_source_files_properties(
  resources/vintorel.rc PROPERTIES
  INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}/resources
  COMPILE_DEFINITIONS "VINTOREL_VERSION_MAJOR=${PROJECT_VERSION_MAJOR};VINTOREL_VERSION_MINOR=${PROJECT_VERSION_MINOR};VINTOREL_VERSION_PATCH=${PROJECT_VERSION_PATCH};VINTOREL_BITS=${VINTOREL_WINDOWS_BITS}"
  OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/resources/vintorel.manifest)
target_link_libraries(vintorel PRIVATE OptimFROG user32 gdi32 comctl32 ole32 dsound strmiids uuid)
vintorel_windows_static(vintorel)
vintorel_warnings(vintorel)

add_subdirectory(packaging/windows)
enable_testing()
add_subdirectory(tests/windows)
add_subdirectory(tests/gallery)
add_subdirectory(tests/soak)
