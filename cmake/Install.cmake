# Installs the programs with the readme, the icon and the desktop entry. "Help" opens
# qarn_readme.htm from the folder the program starts in; it lies beside the program, and the
# desktop entry starts the program in that folder.
set(WENDMOOR_START_DIR ${CMAKE_INSTALL_BINDIR})

foreach(program wendmoor wendmoor-cli)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/data/qarn_readme.htm DESTINATION ${WENDMOOR_START_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/wendmoor.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The entry names the program and its start folder by absolute path, which is known only when
# installing (cmake --install --prefix may choose another prefix than the build did). The
# install folders are taken as relative to the prefix, as GNUInstallDirs makes them.
if(TARGET wendmoor)
    install(CODE "
        set(program \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/wendmoor\")
        set(start_dir \"\${CMAKE_INSTALL_PREFIX}/${WENDMOOR_START_DIR}\")
        configure_file(\"${PROJECT_SOURCE_DIR}/data/wendmoor.desktop.in\"
                       \"${PROJECT_BINARY_DIR}/install/wendmoor.desktop\" @ONLY)
        file(INSTALL \"${PROJECT_BINARY_DIR}/install/wendmoor.desktop\"
             DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
    ")
endif()
