# Run by CPack after the packages are built (CPACK_POST_BUILD_SCRIPTS): rebuilds the library
# package without the postinst/postrm that only call ldconfig, which the triggers file makes
# redundant. The package's files and control data are otherwise left as they are.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    get_filename_component(name "${package}" NAME)
    if(NOT name MATCHES "^libdaybridge[0-9]+_.*\\.deb$")
        continue()
    endif()
    set(tree "${CPACK_TOPLEVEL_DIRECTORY}/drop-ldconfig/${name}")
    file(REMOVE_RECURSE "${tree}")
    file(MAKE_DIRECTORY "${tree}")
    execute_process(COMMAND dpkg-deb --raw-extract "${package}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
    foreach(script IN ITEMS postinst postrm)
        set(path "${tree}/DEBIAN/${script}")
        if(EXISTS "${path}")
            file(READ "${path}" text)
            # Only CPack's own script is dropped: a script doing anything else is kept.
            string(REGEX REPLACE "#!/bin/sh|set -e|ldconfig|if \\[ \"\\$1\" = \"[a-z]+\" \\]; then|fi|[ \t\r\n]" "" rest "${text}")
            if(rest STREQUAL "")
                file(REMOVE "${path}")
            else()
                message(WARNING "${name}: ${script} does more than call ldconfig; kept")
            endif()
        endif()
    endforeach()
    execute_process(COMMAND dpkg-deb --root-owner-group --build "${tree}" "${package}"
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE "${tree}")
endforeach()
