# Fuzz targets: vintorel_add_fuzzer(NAME SOURCES ... LIBS ... [CORPUS dir ...] [RUNS n])
#
# With VINTOREL_FUZZ and clang (the fuzz preset) everything in the build is compiled with
# -fsanitize=fuzzer-no-link plus AddressSanitizer and UBSan, so that the code under test (the
# list scanner, the clip decoder library) gives libFuzzer its coverage, not only the harness;
# each target links libFuzzer itself (-fsanitize=fuzzer). Its CTest test (label fuzz) is a short
# smoke run of VINTOREL_FUZZ_SECONDS that starts from the seed corpus folders and keeps what it
# finds in a working corpus in the build folder (never in the seed folders); a crash is saved
# beside it. scripts/fuzz.sh runs every target for longer; it finds them in fuzz_targets.txt in
# the build folder (name, executable, working corpus, seed folders; one target per line).
#
# Otherwise a target links a small standalone driver that replays the seed corpus and then
# feeds RUNS seeded random and mutated inputs, so the same targets run as deterministic smoke
# tests with any compiler (under the sanitizers in the sanitize preset).
set(VINTOREL_FUZZ_SECONDS 5 CACHE STRING "Length of each fuzz target's smoke run in CTest, in seconds")

set(VINTOREL_LIBFUZZER OFF)
if(VINTOREL_FUZZ)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    set(VINTOREL_LIBFUZZER ON)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
    file(WRITE ${CMAKE_BINARY_DIR}/fuzz_targets.txt "")
  else()
    message(WARNING "VINTOREL_FUZZ needs clang: the fuzz targets use the standalone driver")
  endif()
endif()
add_custom_target(vintorel_fuzzers)

function(vintorel_add_fuzzer name)
  cmake_parse_arguments(FZ "" "RUNS" "SOURCES;LIBS;CORPUS" ${ARGN})
  if(NOT FZ_RUNS)
    set(FZ_RUNS 20000)
  endif()
  if(VINTOREL_LIBFUZZER)
    add_executable(${name} ${FZ_SOURCES})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}.corpus)
    file(MAKE_DIRECTORY ${work})
    set(fz_args -max_total_time=${VINTOREL_FUZZ_SECONDS} -timeout=20 -rss_limit_mb=2048
                -print_final_stats=1 -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/${name}-
                ${work} ${FZ_CORPUS})
    list(JOIN FZ_CORPUS "\t" seeds)
    file(APPEND ${CMAKE_BINARY_DIR}/fuzz_targets.txt
         "${name}\t${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name}\t${work}\t${seeds}\n")
    math(EXPR timeout "${VINTOREL_FUZZ_SECONDS} * 3 + 60")
  else()
    add_executable(${name} ${FZ_SOURCES} ${CMAKE_SOURCE_DIR}/tests/fuzz/standalone_driver.cpp)
    set(fz_args --runs=${FZ_RUNS} ${FZ_CORPUS})
    set(timeout 240)
  endif()
  target_link_libraries(${name} PRIVATE ${FZ_LIBS})
  vintorel_warnings(${name})
  add_dependencies(vintorel_fuzzers ${name})
  add_test(NAME ${name} COMMAND ${name} ${fz_args})
  set_tests_properties(${name} PROPERTIES LABELS "fuzz" TIMEOUT ${timeout})
endfunction()
