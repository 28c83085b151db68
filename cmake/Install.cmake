# What `cmake --install` puts under the prefix: the two programs; the readme in the data folder
# share/wendmoor, where "Help" finds it from the program's own place when the start folder has
# none; the desktop entry with its icons and AppStream description; the man pages and the
# shell completions of wendmoor-cli.
set(WENDMOOR_APP_ID io.github.wendmoor.Wendmoor)

# Installs strip the programs unless asked not to (-DWENDMOOR_INSTALL_STRIP=OFF); `cmake --install
# --strip` strips in any case. This rule runs before the programs' own.
option(WENDMOOR_INSTALL_STRIP "Strip the programs when installing" ON)
if(WENDMOOR_INSTALL_STRIP)
    install(CODE "if(NOT DEFINED CMAKE_INSTALL_DO_STRIP)
    set(CMAKE_INSTALL_DO_STRIP TRUE)
endif()")
endif()

foreach(program wendmoor wendmoor-cli)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/data/qarn_readme.htm
        DESTINATION ${CMAKE_INSTALL_DATADIR}/wendmoor)

# The window's entry, its icons and its description for software centres.
install(FILES ${PROJECT_SOURCE_DIR}/data/${WENDMOOR_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/wendmoor.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/data/icons/wendmoor-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME wendmoor.png)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/data/${WENDMOOR_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/data/${WENDMOOR_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/data/${WENDMOOR_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The man pages, with the version and date filled in, compressed as Debian has them.
find_program(GZIP_PROGRAM gzip)
foreach(page wendmoor wendmoor-cli)
    set(page_file ${PROJECT_BINARY_DIR}/data/man/${page}.1)
    configure_file(${PROJECT_SOURCE_DIR}/data/man/${page}.1.in ${page_file} @ONLY)
    if(GZIP_PROGRAM)
        execute_process(COMMAND ${GZIP_PROGRAM} -9 -n -f -k ${page_file})
        set(page_file ${page_file}.gz)
    endif()
    install(FILES ${page_file} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/data/completion/wendmoor-cli.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME wendmoor-cli)
install(FILES ${PROJECT_SOURCE_DIR}/data/completion/_wendmoor-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
install(FILES ${PROJECT_SOURCE_DIR}/data/completion/wendmoor-cli.fish
        DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
