# Read by cpack. CPack puts the one project-wide summary on top of every component's description,
# so each package gets its own first line instead: the sheet keeps the project's summary and
# description, gomcfgctl has its own (cmake/InstallCli.cmake).
if(NOT CPACK_DEBIAN_GOMCFG2_DESCRIPTION)
    set(CPACK_DEBIAN_GOMCFG2_DESCRIPTION
        "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}\n${CPACK_PACKAGE_DESCRIPTION}")
endif()
unset(CPACK_PACKAGE_DESCRIPTION_SUMMARY)
