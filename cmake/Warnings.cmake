option(BRINDLEAF_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)

# Every target of the project compiles with the same warning set.
function(brindleaf_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(BRINDLEAF_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
