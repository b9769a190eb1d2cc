# gomcfgctl's files and its Debian package, which depends on no Qt package, so a server without a
# display installs it alone. Included after Install.cmake, whose helpers it uses.
install(TARGETS gomcfgctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT gomcfgctl)

gomcfg_man_page(gomcfgctl)
install(FILES dist/gomcfgctl.bash-completion
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    RENAME gomcfgctl
    COMPONENT gomcfgctl)

gomcfg_package_files(gomcfgctl)

set(CPACK_DEBIAN_GOMCFGCTL_PACKAGE_NAME gomcfgctl)
set(CPACK_DEBIAN_GOMCFGCTL_PACKAGE_SECTION utils)
# Defined and empty: only what dpkg-shlibdeps finds (libc6, libstdc++6, libgcc-s1).
set(CPACK_DEBIAN_GOMCFGCTL_PACKAGE_DEPENDS "")
set(CPACK_DEBIAN_GOMCFGCTL_PACKAGE_SUGGESTS "")
# Loads the completion installed above.
set(CPACK_DEBIAN_GOMCFGCTL_PACKAGE_RECOMMENDS "bash-completion")
string(CONCAT CPACK_DEBIAN_GOMCFGCTL_DESCRIPTION
    "command-line settings tool for Gomble Trove II game servers\n"
    "gomcfgctl lists, reads, changes and checks the settings file of the Gomble\n"
    "Trove II game-server modification, GombleTroveII.ini, from a terminal, a script\n"
    "or a server without a display, with the same keys, ranges and file rules as\n"
    "the gomcfg2 sheet. It needs no Qt and no display.")
