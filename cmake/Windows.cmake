# The Windows build: the same program sources against the system's own Win32 headers and
# libraries, with the resource script compiled in. No platform layer and no Qt, OpenAL or
# libdvbv5: Windows itself provides user32, gdi32, comctl32, ole32 and dsound, and the card's
# driver provides the tuner filter. The clip decoder is OptimFROG.dll beside the program; where
# libFLAC cannot be found for the target, the program links against an import library made
# from the decoder's export list, and the DLL is supplied at installation.
add_executable(vintorel WIN32 ${VINTOREL_PROGRAM_SOURCES} resources/vintorel.rc)
target_include_directories(vintorel PRIVATE ${CMAKE_SOURCE_DIR}
                                             ${CMAKE_SOURCE_DIR}/components/clipdecoder/include)
target_compile_definitions(vintorel PRIVATE VINTOREL_VERSION="${PROJECT_VERSION}")
target_link_libraries(vintorel PRIVATE user32 gdi32 comctl32 ole32 dsound strmiids uuid)
if(MINGW)
  # One self-contained executable: no libstdc++/libgcc/winpthread DLLs to ship beside it.
  target_link_options(vintorel PRIVATE -static)
endif()
vintorel_warnings(vintorel)

find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(FLAC QUIET IMPORTED_TARGET flac)
endif()
if(FLAC_FOUND)
  add_subdirectory(components/clipdecoder)
  target_link_libraries(vintorel PRIVATE OptimFROG)
else()
  set(def ${CMAKE_SOURCE_DIR}/components/clipdecoder/OptimFROG.def)
  set(implib ${CMAKE_BINARY_DIR}/libOptimFROG.dll.a)
  if(MSVC)
    set(implib ${CMAKE_BINARY_DIR}/OptimFROG.lib)
    add_custom_command(OUTPUT ${implib} COMMAND lib /nologo /machine:x64 /def:${def} /out:${implib}
                       DEPENDS ${def})
  else()
    find_program(VINTOREL_DLLTOOL NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-dlltool dlltool
                 REQUIRED)
    add_custom_command(OUTPUT ${implib} COMMAND ${VINTOREL_DLLTOOL} -d ${def} -l ${implib}
                       DEPENDS ${def})
  endif()
  add_custom_target(optimfrog_import_library DEPENDS ${implib})
  add_dependencies(vintorel optimfrog_import_library)
  target_link_libraries(vintorel PRIVATE ${implib})
endif()
