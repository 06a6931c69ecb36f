# Warnings in our own code (not in third-party headers, which come in as system includes). They are errors with
# VESK_WERROR, which development and CI builds turn on; a packager's build with another compiler is not stopped by a
# warning that compiler invents.
option(VESK_WERROR "Treat compiler warnings in vesk's own code as errors" OFF)
function(vesk_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 at -O3 reports overlapping copies inside libstdc++'s "text" + std::string that cannot happen (GCC bug
    # 105651); the diagnostic is left to the compilers that get it right.
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(VESK_WERROR)
    target_compile_options(${target} PRIVATE -Werror -Wno-error=deprecated-declarations)
  endif()
endfunction()
