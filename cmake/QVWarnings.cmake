# Warnings for the project's own targets (not for third-party code built alongside).
function(qv_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
endfunction()
