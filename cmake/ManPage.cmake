# Builds a program's man page from its own --help and --version, and an include file with
# the sections that help leaves out (exit status, files, examples), so that the options it
# lists are always the program's own. Without help2man, no man page is built.
find_program(HELP2MAN help2man)
if(NOT HELP2MAN)
    message(STATUS "help2man not found: man pages are not built")
endif()

function(brindleaf_man_page target include)
    if(NOT HELP2MAN)
        return()
    endif()
    set(page ${CMAKE_CURRENT_BINARY_DIR}/${target}.1)
    add_custom_command(
        OUTPUT ${page} ${page}.gz
        COMMAND ${HELP2MAN} --no-info --section=1 --include=${include} --output=${page}
                $<TARGET_FILE:${target}>
        COMMAND gzip -9 -n -f -k ${page}
        DEPENDS ${target} ${include}
        COMMENT "Writing the man page of ${target}"
        VERBATIM)
    add_custom_target(${target}-man ALL DEPENDS ${page} ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
