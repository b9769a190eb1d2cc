# The Cockpit page and its Debian package gomcfg-cockpit, when cockpit/ built it (node and npm
# were found). Included after Install.cmake and InstallCli.cmake, whose helpers it uses.
if(NOT TARGET gomcfg_cockpit)
    return()
endif()
install(DIRECTORY ${GOMCFG_COCKPIT_PACKAGE_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/cockpit/gomcfg
    COMPONENT gomcfg-cockpit)
gomcfg_package_files(gomcfg-cockpit)

list(APPEND CPACK_COMPONENTS_ALL gomcfg-cockpit)
set(CPACK_DEBIAN_GOMCFG-COCKPIT_PACKAGE_NAME gomcfg-cockpit)
set(CPACK_DEBIAN_GOMCFG-COCKPIT_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_GOMCFG-COCKPIT_PACKAGE_ARCHITECTURE all)
# The page runs gomcfgctl on the server through the bridge; it has no program of its own.
set(CPACK_DEBIAN_GOMCFG-COCKPIT_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_GOMCFG-COCKPIT_PACKAGE_DEPENDS
    "cockpit-bridge, gomcfg-terminal (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_GOMCFG-COCKPIT_PACKAGE_RECOMMENDS "cockpit-ws")
string(CONCAT CPACK_DEBIAN_GOMCFG-COCKPIT_DESCRIPTION
    "Cockpit page for the settings of Gomble Trove II game servers\n"
    "The Gomcfg sheet in the Cockpit web console: the six tabs of gomcfg2 for the\n"
    "settings file of the Gomble Trove II game-server modification,\n"
    "GombleTroveII.ini, on every server that Cockpit reaches. It reads and saves\n"
    "through gomcfgctl, with the same keys, ranges and file rules, and edits the\n"
    "message of the day and the IP allow and deny lists in the page.")
