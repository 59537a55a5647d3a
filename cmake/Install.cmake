# What `cmake --install` lays out and what `cpack -G DEB` packs: the four
# programs, a launcher, icons and AppStream metadata for each window program,
# the MIME type of .vec files, and the manual pages of the command-line tools.
include(GNUInstallDirs)

set(VARNIK_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/desktop)
set(VARNIK_APPS org.varnik.VarnikEditor org.varnik.VarnikVecEditor)

install(TARGETS VarnikEditor VarnikVecEditor varnik varnik-vec RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

foreach(app ${VARNIK_APPS})
  install(FILES ${VARNIK_DESKTOP_DIR}/${app}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${VARNIK_DESKTOP_DIR}/icons/${app}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 16 32 48 64 128 256)
    install(FILES ${VARNIK_DESKTOP_DIR}/icons/${size}x${size}/${app}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  configure_file(${VARNIK_DESKTOP_DIR}/${app}.metainfo.xml ${CMAKE_BINARY_DIR}/desktop/${app}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/desktop/${app}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endforeach()
install(FILES ${VARNIK_DESKTOP_DIR}/org.varnik.Varnik.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

# Manual pages, with the version filled in, compressed as Debian installs them.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
foreach(page varnik.1 varnik-vec.1)
  configure_file(${PROJECT_SOURCE_DIR}/doc/${page} ${CMAKE_BINARY_DIR}/doc/${page} @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/${page}.gz
                     COMMAND ${GZIP_EXECUTABLE} -9 -n -f -k ${CMAKE_BINARY_DIR}/doc/${page}
                     DEPENDS ${CMAKE_BINARY_DIR}/doc/${page} VERBATIM)
  list(APPEND VARNIK_MAN_PAGES ${CMAKE_BINARY_DIR}/doc/${page}.gz)
endforeach()
add_custom_target(varnik_man_pages ALL DEPENDS ${VARNIK_MAN_PAGES})
install(FILES ${VARNIK_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package: its dependencies are found from the programs' libraries.
set(CPACK_PACKAGE_NAME varnik)
set(CPACK_PACKAGE_VENDOR "The Varnik team")
set(CPACK_PACKAGE_CONTACT "The Varnik team <varnik@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor of schematic public-transport maps")
set(CPACK_PACKAGE_DESCRIPTION "Varnik draws schematic public-transport maps of a city: a map editor, \
a vector image editor and command-line tools to check, draw, export and query cities, import GTFS \
feeds and plan journeys.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the libraries do not tell: fonts metric-compatible with the ones the
# maps name, the window system plugins of Qt, and its own translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-dejavu-core, qt6-qpa-plugins, qt6-translations-l10n")
include(CPack)
