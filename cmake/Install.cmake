# Installation in the standard places, and the Debian package.
include(GNUInstallDirs)

# The application ID names the desktop entry, the metainfo file and the icon; res/Strings.h
# holds the same name for the running program.
set(GOMCFG_APP_ID org.example.gomcfg.gomcfg2)
set(GOMCFG_ICON_SIZES 16 24 32 48 64 128 256)

install(TARGETS gomcfg2 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES dist/${GOMCFG_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES dist/${GOMCFG_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES res/gomcfg2.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    RENAME ${GOMCFG_APP_ID}.svg)
foreach(size IN LISTS GOMCFG_ICON_SIZES)
    install(FILES res/icons/gomcfg2-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME ${GOMCFG_APP_ID}.png)
endforeach()

# Man pages are installed compressed, as Debian's tools expect.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(GOMCFG_MAN_PAGE ${CMAKE_CURRENT_BINARY_DIR}/gomcfg2.1.gz)
add_custom_command(OUTPUT ${GOMCFG_MAN_PAGE}
    COMMAND ${GZIP_EXECUTABLE} -9nc ${CMAKE_CURRENT_SOURCE_DIR}/dist/gomcfg2.1 > ${GOMCFG_MAN_PAGE}
    DEPENDS dist/gomcfg2.1
    VERBATIM)
add_custom_target(gomcfg2_man ALL DEPENDS ${GOMCFG_MAN_PAGE})
install(FILES ${GOMCFG_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME gomcfg2)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Gomcfg developers <gomcfg@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "settings editor for Gomble Trove II game servers")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Gomcfg edits the settings file of the Gomble Trove II game-server modification, "
    "GombleTroveII.ini, through one tabbed sheet: weapons, the modification's features and "
    "message of the day, server rules, network services and ports, IP banning, capture the "
    "flag and teamplay.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://gomcfg.example.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps turns the linked libraries into Depends (libqt6widgets6, libqt6gui6, ...); the
# platform plugin is loaded at run time, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xdg-utils")
include(CPack)
