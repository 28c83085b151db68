# `cpack -G DEB` in a build folder makes a Debian package of what `cmake --install` installs,
# stripped, with its dependencies found by dpkg-shlibdeps; scripts/check-package.sh builds one
# from a Release folder and checks it with lintian. Debian keeps the programs of its games
# section in /usr/games: configure that folder with -DCMAKE_INSTALL_BINDIR=games ("Help" finds
# the readme in /usr/share/wendmoor from there as well).
set(CPACK_PACKAGE_NAME wendmoor)
set(CPACK_PACKAGE_VENDOR "The Wendmoor contributors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL ${PROJECT_HOMEPAGE_URL})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mission package manager for city-building games")
set(CPACK_PACKAGE_DESCRIPTION
    "Wendmoor installs and removes user-made mission packages (ZIP archives)\n"
    "for Caesar III, Pharao, Zeus and Emperor, also on game folders copied from\n"
    "Windows installs and run with Wine. It lists installed and available\n"
    "packages, shows what an archive holds, keeps the maps other packages still\n"
    "need and backs up the player's files it replaces. The package has the\n"
    "window, wendmoor, and the command-line tool wendmoor-cli.\n"
    "Licence: ${WENDMOOR_LICENSE}.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Wendmoor maintainers <wendmoor@users.noreply.github.com>")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its display plugins at run time, so dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# "Help" opens the readme with xdg-open; Qt's own dialogs speak the user's language with Qt's
# translations; the games themselves run with Wine.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# What Debian asks of every package: the copyright and a changelog, under share/doc.
execute_process(COMMAND date -u -R -d "${WENDMOOR_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE WENDMOOR_RELEASE_TIME OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(${PROJECT_SOURCE_DIR}/data/debian/changelog.in
               ${PROJECT_BINARY_DIR}/data/debian/changelog @ONLY)
if(GZIP_PROGRAM)
    execute_process(COMMAND ${GZIP_PROGRAM} -9 -n -f -k ${PROJECT_BINARY_DIR}/data/debian/changelog)
    install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright
                  ${PROJECT_BINARY_DIR}/data/debian/changelog.gz
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/wendmoor)
endif()

include(CPack)
