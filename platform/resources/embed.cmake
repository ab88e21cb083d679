# Embeds the program's bitmaps and icon into vintorel_resources. resources/vintorel.rc, the
# Windows resource script, is the one list of them: every "NAME BITMAP|ICON "file"" line becomes
# an entry of a generated source holding the file's bytes, which the resource table starts with
# (builtinResources() in resources.h). NAME is a number or one of resources/resource.h's
# "#define NAME number" lines, as the resource compiler reads them. Included by
# platform/CMakeLists.txt after the library is defined. Other statements of the resource script
# (VERSIONINFO, ...) are not embedded.

get_filename_component(_vintorel_resource_dir ${CMAKE_CURRENT_LIST_DIR}/../../resources ABSOLUTE)
set(_vintorel_rc ${_vintorel_resource_dir}/vintorel.rc)
set(_vintorel_rc_header ${_vintorel_resource_dir}/resource.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_vintorel_rc}
                                                              ${_vintorel_rc_header})

file(STRINGS ${_vintorel_rc_header} _vintorel_rc_defines
     REGEX "^[ \t]*#define[ \t]+[A-Za-z_][A-Za-z_0-9]*[ \t]+[0-9]+")
foreach(_line IN LISTS _vintorel_rc_defines)
  string(REGEX MATCH "#define[ \t]+([A-Za-z_][A-Za-z_0-9]*)[ \t]+([0-9]+)" _ "${_line}")
  set(_vintorel_rc_number_${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
endforeach()

file(STRINGS ${_vintorel_rc} _vintorel_rc_lines
     REGEX "^[ \t]*[A-Za-z_0-9]+[ \t]+(BITMAP|ICON)[ \t]+\"[^\"]+\"")
set(_vintorel_manifest "")
set(_vintorel_files "")
set(_vintorel_seen "")
foreach(_line IN LISTS _vintorel_rc_lines)
  string(REGEX MATCH "^[ \t]*([A-Za-z_0-9]+)[ \t]+(BITMAP|ICON)[ \t]+\"([^\"]+)\"" _ "${_line}")
  set(_id ${CMAKE_MATCH_1})
  set(_kind ${CMAKE_MATCH_2})
  set(_file ${_vintorel_resource_dir}/${CMAKE_MATCH_3})
  if(NOT _id MATCHES "^[0-9]+$")
    if(NOT DEFINED _vintorel_rc_number_${_id})
      message(FATAL_ERROR "${_vintorel_rc}: ${_id} is not a number of ${_vintorel_rc_header}")
    endif()
    set(_id ${_vintorel_rc_number_${_id}})
  endif()
  if(_id GREATER 65535)
    message(FATAL_ERROR "${_vintorel_rc}: resource id ${_id} is above 65535")
  endif()
  if(NOT EXISTS ${_file})
    message(FATAL_ERROR "${_vintorel_rc}: ${_kind} ${_id} names a missing file ${_file}")
  endif()
  if("${_kind}:${_id}" IN_LIST _vintorel_seen)
    message(FATAL_ERROR "${_vintorel_rc}: ${_kind} ${_id} is listed twice")
  endif()
  list(APPEND _vintorel_seen "${_kind}:${_id}")
  list(APPEND _vintorel_files ${_file})
  string(APPEND _vintorel_manifest
         "list(APPEND RESOURCE_ENTRIES ${_kind} ${_id} [==[${_file}]==])\n")
endforeach()
if(NOT _vintorel_files)
  message(FATAL_ERROR "${_vintorel_rc} lists no BITMAP or ICON resources")
endif()

# The list for the generator; rewritten only when it changes, so a configure run alone does
# not regenerate the source.
set(_vintorel_manifest_file ${CMAKE_CURRENT_BINARY_DIR}/embedded_resources.list.cmake)
file(CONFIGURE OUTPUT ${_vintorel_manifest_file} CONTENT "${_vintorel_manifest}" @ONLY)

set(_vintorel_embedded_cpp ${CMAKE_CURRENT_BINARY_DIR}/embedded_resources.cpp)
add_custom_command(
  OUTPUT ${_vintorel_embedded_cpp}
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${_vintorel_manifest_file}
          -DOUTPUT=${_vintorel_embedded_cpp}
          -P ${CMAKE_CURRENT_LIST_DIR}/embed_generate.cmake
  DEPENDS ${_vintorel_manifest_file} ${_vintorel_files}
          ${CMAKE_CURRENT_LIST_DIR}/embed_generate.cmake
  COMMENT "Embedding the bitmaps and icon of resources/vintorel.rc"
  VERBATIM)
target_sources(vintorel_resources PRIVATE ${_vintorel_embedded_cpp})
