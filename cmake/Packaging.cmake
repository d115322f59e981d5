# The Debian package (scripts/package runs cpack -G DEB): it packs whatever install() installs,
# plus the files only a Debian package carries. Version and revision come from
# packaging/changelog, whose first entry must match the project's version, as must the newest
# release of the AppStream metadata.
include(GNUInstallDirs)

set(QUARNEL_PACKAGING_DIR "${PROJECT_SOURCE_DIR}/packaging")
set(QUARNEL_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/quarnel")

file(STRINGS "${QUARNEL_PACKAGING_DIR}/changelog" changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^quarnel \\(([^-)]+)-([^)]+)\\) ")
    message(FATAL_ERROR "packaging/changelog does not begin with a quarnel entry")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "packaging/changelog begins with version ${CMAKE_MATCH_1}, "
                        "the project is ${PROJECT_VERSION}: add an entry for it")
endif()
set(QUARNEL_DEBIAN_REVISION "${CMAKE_MATCH_2}")
set(QUARNEL_METAINFO "${QUARNEL_PACKAGING_DIR}/org.example.kelvaros_tools.quarnel.metainfo.xml")
file(READ "${QUARNEL_METAINFO}" metainfo)
string(FIND "${metainfo}" "<release version=\"${PROJECT_VERSION}\"" release_entry)
if(release_entry EQUAL -1)
    message(FATAL_ERROR "${QUARNEL_METAINFO} names no release ${PROJECT_VERSION}: add one")
endif()

# Wherever it is installed: the AppStream metadata for software centres, and the license in
# Debian's machine-readable form.
install(FILES "${QUARNEL_METAINFO}" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${QUARNEL_PACKAGING_DIR}/copyright" DESTINATION "${QUARNEL_DOC_DIR}")

# Only in the package: the Debian changelog, gzip -9n so that a rebuild gives the same bytes.
set(debian_changelog "${CMAKE_BINARY_DIR}/changelog.Debian.gz")
add_custom_command(
    OUTPUT "${debian_changelog}"
    COMMAND "${GZIP_PROGRAM}" -9 -n -c "${QUARNEL_PACKAGING_DIR}/changelog" > "${debian_changelog}"
    DEPENDS "${QUARNEL_PACKAGING_DIR}/changelog"
    COMMENT "Compressing the Debian changelog")
add_custom_target(debian_changelog ALL DEPENDS "${debian_changelog}")
install(FILES "${debian_changelog}" DESTINATION "${QUARNEL_DOC_DIR}" COMPONENT debian
        EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarnel)
set(CPACK_PACKAGE_VENDOR "Kelvaro's Tools")
set(CPACK_PACKAGE_CONTACT "Kelvaro's Tools <quarnel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "drop files and folders, get the list of their names on the clipboard")
set(CPACK_PACKAGE_DESCRIPTION
    "Quarnel! is a small desktop tool with a German user interface: drag files
and folders onto its window, and the list of their names lands on the
clipboard, one name per line (CR LF), ready to paste into a word processor,
a mail or a spreadsheet. Fourteen options choose the order (as dropped or
alphabetical), with or without path, files and/or folders, the case, and
whether a dropped folder is expanded into everything beneath it.

The package holds the desktop program quarnel (Qt 6), its entry in the
file managers' context menus, and quarnel-list, which writes the same list
to standard output for scripts and the terminal. German manual pages
describe both.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Everything install() installs by default, then the package-only component.
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/" "${CMAKE_BINARY_DIR};${PROJECT_NAME};debian;/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE "${QUARNEL_DEBIAN_REVISION}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.org/kelvaros-tools/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The folders through which network locations (smb://, sftp://) dragged from a file manager are
# read; desktops that browse shares bring one of them.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gvfs-fuse | kio-fuse")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
