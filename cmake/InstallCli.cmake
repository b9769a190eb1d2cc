# The programs for a server without a display, gomcfgctl and gomcfgtui, and their Debian package
# gomcfg-terminal, which depends on no Qt package. Included after Install.cmake, whose helpers
# it uses.
install(TARGETS gomcfgctl gomcfgtui RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    COMPONENT gomcfg-terminal)

gomcfg_man_page(gomcfgctl gomcfg-terminal)
gomcfg_man_page(gomcfgtui gomcfg-terminal)
install(FILES dist/gomcfgctl.bash-completion
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    RENAME gomcfgctl
    COMPONENT gomcfg-terminal)

gomcfg_package_files(gomcfg-terminal)

set(CPACK_DEBIAN_GOMCFG-TERMINAL_PACKAGE_NAME gomcfg-terminal)
set(CPACK_DEBIAN_GOMCFG-TERMINAL_PACKAGE_SECTION utils)
# Defined and empty: only what dpkg-shlibdeps finds (libc6, libstdc++6, libgcc-s1, ncurses).
set(CPACK_DEBIAN_GOMCFG-TERMINAL_PACKAGE_DEPENDS "")
set(CPACK_DEBIAN_GOMCFG-TERMINAL_PACKAGE_SUGGESTS "")
# Loads the completion installed above.
set(CPACK_DEBIAN_GOMCFG-TERMINAL_PACKAGE_RECOMMENDS "bash-completion")
# gomcfgctl had a package of its own up to 1.0.0.1; this one takes its place on an upgrade.
set(CPACK_DEBIAN_GOMCFG-TERMINAL_PACKAGE_PROVIDES "gomcfgctl (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_GOMCFG-TERMINAL_PACKAGE_REPLACES "gomcfgctl (<< 1.0.0.2~)")
set(CPACK_DEBIAN_GOMCFG-TERMINAL_PACKAGE_BREAKS "gomcfgctl (<< 1.0.0.2~)")
string(CONCAT CPACK_DEBIAN_GOMCFG-TERMINAL_DESCRIPTION
    "terminal tools for the settings of Gomble Trove II game servers\n"
    "gomcfgctl lists, reads, changes and checks the settings file of the Gomble\n"
    "Trove II game-server modification, GombleTroveII.ini, from a terminal or a\n"
    "script; gomcfgtui shows the six tabs of the gomcfg2 sheet in a terminal, over\n"
    "SSH or on the console. Both keep the sheet's keys, ranges and file rules and\n"
    "need no Qt and no display.")
