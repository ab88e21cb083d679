# Writes the C++ source with the bytes of the embedded resources, run by the build (see
# embed.cmake): cmake -DMANIFEST=<list> -DOUTPUT=<.cpp> -P embed_generate.cmake. The list sets
# RESOURCE_ENTRIES to triples of kind (BITMAP or ICON), numeric id and file.

if(NOT MANIFEST OR NOT OUTPUT)
  message(FATAL_ERROR "usage: cmake -DMANIFEST=<list> -DOUTPUT=<file.cpp> -P embed_generate.cmake")
endif()
set(RESOURCE_ENTRIES "")
include(${MANIFEST})

# Twelve bytes a line (CMake's regular expressions have no {n}).
string(REPEAT "0x[0-9a-f][0-9a-f], " 12 twelve_bytes)
set(arrays "")
set(rows "")
set(index 0)
list(LENGTH RESOURCE_ENTRIES count)
while(index LESS count)
  list(SUBLIST RESOURCE_ENTRIES ${index} 3 entry)
  list(GET entry 0 kind)
  list(GET entry 1 id)
  list(GET entry 2 file)
  math(EXPR index "${index} + 3")

  file(SIZE ${file} size)
  if(size EQUAL 0)
    message(FATAL_ERROR "${file} is empty")
  endif()
  file(READ ${file} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1, " bytes "${hex}")
  string(REGEX REPLACE "(${twelve_bytes})" "\\1\n    " bytes "${bytes}")
  string(REPLACE ", \n" ",\n" bytes "${bytes}")
  string(REGEX REPLACE "[ \n]+$" "" bytes "${bytes}")
  get_filename_component(name ${file} NAME)
  if(kind STREQUAL "BITMAP")
    set(type kBitmap)
  else()
    set(type kIcon)
  endif()
  string(APPEND arrays "// ${name}\nconstexpr unsigned char k${kind}${id}[${size}] = {\n    ${bytes}\n};\n\n")
  string(APPEND rows "    {${type}, ${id}, k${kind}${id}, sizeof k${kind}${id}},\n")
endwhile()

file(WRITE ${OUTPUT} "// Generated at build time from resources/vintorel.rc; do not edit.
#include \"resources/resources.h\"

namespace vintorel::resources {

namespace {

${arrays}constexpr Builtin kBuiltins[] = {
${rows}};

} // namespace

std::span<const Builtin> builtinResources() { return kBuiltins; }

} // namespace vintorel::resources
")
