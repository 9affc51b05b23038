# Manual pages, the documents a Debian package carries, and the package
# itself (CPack's DEB generator: cpack -G DEB in a build folder).

# Manual pages and the changelog go in compressed, as Debian has them.
set(_morsk_docs)
foreach(_page morsk-cli.1 morsk.1)
  set(_gz ${CMAKE_CURRENT_BINARY_DIR}/man/${_page}.gz)
  add_custom_command(OUTPUT ${_gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
    COMMAND gzip -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/docs/man/${_page} > ${_gz}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/docs/man/${_page} VERBATIM)
  list(APPEND _morsk_docs ${_gz})
  install(FILES ${_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
set(_changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${_changelog}
  COMMAND gzip -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/data/debian/changelog > ${_changelog}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/data/debian/changelog VERBATIM)
list(APPEND _morsk_docs ${_changelog})
add_custom_target(morsk_docs ALL DEPENDS ${_morsk_docs})
install(FILES ${_changelog} data/debian/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/morsk)

set(CPACK_PACKAGE_NAME morsk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Morsk developers <packages@morsk-programmer.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programmer for AVR, AT89 and NORDIC chips with the Morsk USB programmer")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://morsk-programmer.org/")
# The summary is the first line of the control file's description; this is
# the rest.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "A desktop window (morsk) and a command line (morsk-cli) for the Morsk USB\n"
  "in-system programmer (16c0:05dc): erase, blank-check, program, read back and\n"
  "verify ATMEL AVR and AT89 and NORDIC nRF24 chips, edit fuse bits, back a\n"
  "whole chip up and restore it, and run an auto sequence for small production\n"
  "batches. A virtual programmer lets you try it without hardware.")
set(CPACK_STRIP_FILES ON)
# The shared libraries' packages, as dpkg-shlibdeps finds them, and what
# the window loads at run time without linking it: the font of its Chinese
# texts, Qt's SVG plugins (its icons) and Qt's own translations (the
# buttons of Qt's dialogs).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, libqt6svg6, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${CMAKE_CURRENT_SOURCE_DIR}/data/debian/postinst ${CMAKE_CURRENT_SOURCE_DIR}/data/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
