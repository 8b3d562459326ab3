# The Debian package (scripts/package.sh): cpack --config build/CPackConfig.cmake
# writes build/zefrant_<version>_amd64.deb from the install rules, installed
# under /usr. Its dependencies are what dpkg-shlibdeps finds for the programs'
# shared libraries, and the packages the programs use without linking them.

# A rebuild of the same sources under a higher version (to try an upgrade)
# gets a change log entry of its own.
set(ZEFRANT_PACKAGE_VERSION ${PROJECT_VERSION} CACHE STRING "Version of the Debian package")
set(ZEFRANT_PACKAGE_MAINTAINER "Zefrant developers <zefrant@quadrel.example>")
set(ZEFRANT_CHANGELOG ${ZEFRANT_DATA_DIR}/package/changelog)
if(NOT ZEFRANT_PACKAGE_VERSION STREQUAL PROJECT_VERSION)
  string(TIMESTAMP stamp "%a, %d %b %Y %H:%M:%S +0000" UTC)
  file(READ ${ZEFRANT_CHANGELOG} released)
  set(ZEFRANT_CHANGELOG ${CMAKE_BINARY_DIR}/package/changelog)
  file(WRITE ${ZEFRANT_CHANGELOG}
    "zefrant (${ZEFRANT_PACKAGE_VERSION}) unstable; urgency=medium\n\n"
    "  * Rebuild of ${PROJECT_VERSION}.\n\n"
    " -- ${ZEFRANT_PACKAGE_MAINTAINER}  ${stamp}\n\n${released}")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zefrant)
set(CPACK_PACKAGE_VERSION ${ZEFRANT_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR Quadrel)
set(CPACK_PACKAGE_CONTACT ${ZEFRANT_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design of warm-air heating and ventilation of industrial halls")
set(CPACK_PACKAGE_DESCRIPTION
    "Zefrant computes the heat losses of a single industrial hall, the required\n"
    "heating, ventilation and circulation outputs and the heating costs, offers\n"
    "the usable warm-air units with the numbers needed, places them on a plan of\n"
    "the hall and prints a report. The tool zefrant-cli does the same without a\n"
    "display. The user's own structural elements are kept in the user's data\n"
    "folder and survive upgrades and removal.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Not linked, yet needed: the fonts the windows, the plan and the report name
# (Liberation, DejaVu for Cyrillic) and Qt's own texts in the five languages.
# The SVG picture plugins come with libqt6svg6, found from the link.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core, qt6-translations-l10n")
# Opening the technical documents and a written report in the desktop's viewer.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")

include(CPack)
