# Installation in the standard places, and the Debian packages (cmake/InstallCli.cmake adds
# gomcfg-terminal, with gomcfgctl and gomcfgtui; CMakeLists.txt includes CPack after both).
include(GNUInstallDirs)

# The application ID names the desktop entry, the metainfo file and the icon; res/Strings.h
# holds the same name for the running program.
set(GOMCFG_APP_ID org.example.gomcfg.gomcfg2)
set(GOMCFG_ICON_SIZES 16 24 32 48 64 128 256)

install(TARGETS gomcfg2 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT gomcfg2)
install(FILES dist/${GOMCFG_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT gomcfg2)
install(FILES dist/${GOMCFG_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT gomcfg2)
install(FILES res/gomcfg2.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    RENAME ${GOMCFG_APP_ID}.svg COMPONENT gomcfg2)
foreach(size IN LISTS GOMCFG_ICON_SIZES)
    install(FILES res/icons/gomcfg2-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME ${GOMCFG_APP_ID}.png COMPONENT gomcfg2)
endforeach()

# Man pages are installed compressed, as Debian's tools expect: dist/<program>.1 goes into the
# package of the same name, or into the one named after it.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
function(gomcfg_man_page program)
    set(component ${program})
    if(ARGC GREATER 1)
        set(component ${ARGV1})
    endif()
    set(page ${CMAKE_CURRENT_BINARY_DIR}/${program}.1.gz)
    add_custom_command(OUTPUT ${page}
        COMMAND ${GZIP_EXECUTABLE} -9nc ${CMAKE_CURRENT_SOURCE_DIR}/dist/${program}.1 > ${page}
        DEPENDS dist/${program}.1
        VERBATIM)
    add_custom_target(${program}_man ALL DEPENDS ${page})
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
endfunction()
gomcfg_man_page(gomcfg2)

# Each Debian package is an install component of the same name. A package carries its own copy of
# the copyright file and the changelog (Debian wants both in /usr/share/doc/<package>/), and
# the lintian overrides in dist/debian/<package>.lintian-overrides, if there are any.
set(GOMCFG_CHANGELOG ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${GOMCFG_CHANGELOG}
    COMMAND ${GZIP_EXECUTABLE} -9nc ${CMAKE_CURRENT_SOURCE_DIR}/dist/debian/changelog
        > ${GOMCFG_CHANGELOG}
    DEPENDS dist/debian/changelog
    VERBATIM)
add_custom_target(gomcfg_changelog ALL DEPENDS ${GOMCFG_CHANGELOG})
# The package takes its version from the project; lintian does not compare it with the changelog.
file(STRINGS dist/debian/changelog GOMCFG_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT GOMCFG_CHANGELOG_TOP MATCHES "^[a-z0-9.+-]+ \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "dist/debian/changelog: the latest entry is not version ${PROJECT_VERSION}")
endif()

# Globbed so that a new overrides file reaches the install rules without a manual re-run of cmake.
file(GLOB GOMCFG_LINTIAN_OVERRIDES CONFIGURE_DEPENDS dist/debian/*.lintian-overrides)
function(gomcfg_package_files package)
    install(FILES dist/debian/copyright ${GOMCFG_CHANGELOG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${package})
    set(overrides ${CMAKE_CURRENT_SOURCE_DIR}/dist/debian/${package}.lintian-overrides)
    if(overrides IN_LIST GOMCFG_LINTIAN_OVERRIDES)
        install(FILES ${overrides} DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
            RENAME ${package} COMPONENT ${package})
    endif()
endfunction()
gomcfg_package_files(gomcfg2)

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL gomcfg2 gomcfg-terminal)
set(CPACK_PACKAGE_NAME gomcfg)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Gomcfg developers <gomcfg@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://gomcfg.example.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps turns the linked libraries into Depends (libqt6widgets6, libqt6gui6, ...).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# The first line is the synopsis; lintian wants every line within 80 columns.
set(CPACK_DEBIAN_GOMCFG2_PACKAGE_NAME gomcfg2)
set(CPACK_DEBIAN_GOMCFG2_DESCRIPTION [[
settings editor for Gomble Trove II game servers
Gomcfg edits the settings file of the Gomble Trove II game-server
modification, GombleTroveII.ini, through one tabbed sheet: weapons, the
modification's features and message of the day, server rules, network
services and ports, IP banning, capture the flag and teamplay.

It changes only the lines of the keys it writes: comments, other sections
and line ends stay as they were, and every write replaces the file
atomically.
]])
# The platform plugin is loaded at run time, so dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_GOMCFG2_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_GOMCFG2_PACKAGE_SUGGESTS "xdg-utils")

# The Ansible collection gomble.gomcfg, built next to the packages when asked for:
# cmake --build build --target ansible_collection (ansible-galaxy comes with ansible-core).
find_program(ANSIBLE_GALAXY_EXECUTABLE ansible-galaxy)
if(ANSIBLE_GALAXY_EXECUTABLE)
    add_custom_target(ansible_collection
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tools/build-collection ${CMAKE_CURRENT_BINARY_DIR}
        COMMENT "Building the Ansible collection gomble.gomcfg"
        VERBATIM)
endif()
