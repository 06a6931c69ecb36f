# Warnings are errors in our own code (not in third-party headers, which come in as system includes).
function(vesk_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-error=deprecated-declarations)
endfunction()
