# Compiler warnings for the project's own targets (never for third-party code).
function(vintorel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                                           -Wno-unused-parameter)
  if(VINTOREL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
