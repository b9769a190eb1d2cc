# gomcfgctl's files, and the split of the Debian packages: the sheet is gomcfg2, the command-line
# tool gomcfgctl, which depends on no Qt package, so a server without a display installs it alone.
include(GNUInstallDirs)
find_program(GZIP_EXECUTABLE gzip REQUIRED)

install(TARGETS gomcfgctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT gomcfgctl)

set(GOMCFGCTL_MAN_PAGE ${CMAKE_CURRENT_BINARY_DIR}/gomcfgctl.1.gz)
add_custom_command(OUTPUT ${GOMCFGCTL_MAN_PAGE}
    COMMAND ${GZIP_EXECUTABLE} -9nc ${CMAKE_CURRENT_SOURCE_DIR}/dist/gomcfgctl.1 > ${GOMCFGCTL_MAN_PAGE}
    DEPENDS dist/gomcfgctl.1
    VERBATIM)
add_custom_target(gomcfgctl_man ALL DEPENDS ${GOMCFGCTL_MAN_PAGE})
install(FILES ${GOMCFGCTL_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT gomcfgctl)
install(FILES dist/gomcfgctl.bash-completion
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    RENAME gomcfgctl
    COMPONENT gomcfgctl)

# Each package carries its copyright and changelog, as Debian requires.
set(GOMCFGCTL_CHANGELOG ${CMAKE_CURRENT_BINARY_DIR}/gomcfgctl.changelog.gz)
add_custom_command(OUTPUT ${GOMCFGCTL_CHANGELOG}
    COMMAND ${GZIP_EXECUTABLE} -9nc ${CMAKE_CURRENT_SOURCE_DIR}/dist/gomcfgctl.changelog > ${GOMCFGCTL_CHANGELOG}
    DEPENDS dist/gomcfgctl.changelog
    VERBATIM)
add_custom_target(gomcfgctl_changelog ALL DEPENDS ${GOMCFGCTL_CHANGELOG})
install(FILES ${GOMCFGCTL_CHANGELOG} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/gomcfgctl
    RENAME changelog.gz COMPONENT gomcfgctl)
install(FILES dist/gomcfgctl.copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/gomcfgctl
    RENAME copyright COMPONENT gomcfgctl)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_GOMCFG2_PACKAGE_NAME gomcfg2)
set(CPACK_DEBIAN_GOMCFGCTL_PACKAGE_NAME gomcfgctl)
set(CPACK_DEBIAN_GOMCFGCTL_PACKAGE_SECTION utils)
# Defined and empty: only what dpkg-shlibdeps finds (libc6, libstdc++6, libgcc-s1).
set(CPACK_DEBIAN_GOMCFGCTL_PACKAGE_DEPENDS "")
set(CPACK_DEBIAN_GOMCFGCTL_PACKAGE_SUGGESTS "")
string(CONCAT CPACK_DEBIAN_GOMCFGCTL_DESCRIPTION
    "command-line settings tool for Gomble Trove II game servers\n"
    "gomcfgctl lists, reads, changes and checks the settings file of the Gomble\n"
    "Trove II game-server modification, GombleTroveII.ini, from a terminal, a script\n"
    "or a server without a display, with the same keys, ranges and file rules as\n"
    "the gomcfg2 sheet. It needs no Qt and no display.")
# Debian ships binaries stripped; the debug information stays in the build tree.
set(CPACK_STRIP_FILES ON)
# A package's summary is the first line of its own description; see CPackComponents.cmake.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/CPackComponents.cmake)
