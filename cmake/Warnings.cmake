# Warnings for the project's own targets; third-party headers come in as system includes.
function(doccam_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow=local -Wnon-virtual-dtor
    -Woverloaded-virtual)
  if(DOCCAM_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
