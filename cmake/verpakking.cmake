# Install rules and the Debian package (cpack -G DEB in the build folder).
# On Windows the same rules put the programs in bin/ beside the licence;
# cmake/windows-uitrol.cmake adds Qt and the rest the desktop program needs.
include(GNUInstallDirs)

install(TARGETS zarvo-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET zarvo-edit)
  install(TARGETS zarvo-edit RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(ZARVO_ICOON ${PROJECT_SOURCE_DIR}/shell/icoon)
if(WIN32)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
else()
  # Debian wants the copyright file in its machine-readable form, with the
  # licence text indented under it (an empty line becomes " .").
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE licentie)
  string(REGEX REPLACE "\n+$" "" licentie "${licentie}")
  string(REGEX REPLACE "\n" "\n " licentie "${licentie}")
  string(REGEX REPLACE "\n \n" "\n .\n" licentie "${licentie}")
  string(REGEX REPLACE "\n \n" "\n .\n" licentie "${licentie}")
  set(copyright ${CMAKE_CURRENT_BINARY_DIR}/copyright)
  file(WRITE ${copyright} "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Zarvo-Edit

Files: *
Copyright: 2026 Zarvo-Edit-ontwikkelaars
License: EUPL-1.2

License: EUPL-1.2
 ${licentie}
")
  install(FILES ${copyright} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zarvo-edit)
  # A native package's history, compressed as Debian keeps it.
  set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog)
  add_custom_command(OUTPUT ${changelog}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/cmake/changelog ${changelog}
    COMMAND gzip -9nf ${changelog}
    DEPENDS ${PROJECT_SOURCE_DIR}/cmake/changelog)
  add_custom_target(zarvo-changelog ALL DEPENDS ${changelog}.gz)
  install(FILES ${changelog}.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zarvo-edit)
  if(TARGET zarvo-edit)
    install(FILES ${PROJECT_SOURCE_DIR}/shell/zarvo-edit.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    set(manEdit ${CMAKE_CURRENT_BINARY_DIR}/zarvo-edit.1)
    add_custom_command(OUTPUT ${manEdit}.gz
      COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/shell/zarvo-edit.1 ${manEdit}
      COMMAND gzip -9nf ${manEdit}
      DEPENDS ${PROJECT_SOURCE_DIR}/shell/zarvo-edit.1)
    add_custom_target(zarvo-edit-man ALL DEPENDS ${manEdit}.gz)
    install(FILES ${manEdit}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${ZARVO_ICOON}/zarvo-edit.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    foreach(maat 16 32 48 64 128 256)
      install(FILES ${ZARVO_ICOON}/zarvo-edit-${maat}.png
              DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${maat}x${maat}/apps RENAME zarvo-edit.png)
    endforeach()
  endif()
  # The manual page is written from the program's own --help, so it can only
  # be made where the program runs.
  if(NOT CMAKE_CROSSCOMPILING)
    set(man ${CMAKE_CURRENT_BINARY_DIR}/zarvo-batch.1)
    add_custom_command(OUTPUT ${man}.gz
      COMMAND ${CMAKE_COMMAND} -DPROGRAMMA=$<TARGET_FILE:zarvo-batch> -DVERSIE=${PROJECT_VERSION} -DUIT=${man}
              -P ${PROJECT_SOURCE_DIR}/cmake/manpagina.cmake
      COMMAND gzip -9nf ${man}
      DEPENDS zarvo-batch ${PROJECT_SOURCE_DIR}/cmake/manpagina.cmake
      COMMENT "Handleidingpagina zarvo-batch.1")
    add_custom_target(zarvo-batch-man ALL DEPENDS ${man}.gz)
    install(FILES ${man}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endif()

set(CPACK_PACKAGE_NAME zarvo-edit)
set(CPACK_PACKAGE_VENDOR "Zarvo-Edit")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Dijkdwarsprofielen controleren en slootprofielen inbouwen")
# Lines of at most 80 characters: that is how package tools show them.
set(CPACK_PACKAGE_DESCRIPTION
    "Zarvo-Edit leest een bestand met gemeten dijkdwarsprofielen, laat elk
profiel in bovenaanzicht en dwarsdoorsnede zien om slechte profielen te
verwijderen, bouwt het trapeziumvormige slootprofiel uit het slootbestand in
elk overgebleven profiel en schrijft het resultaat. zarvo-batch doet hetzelfde
zonder scherm.")
set(CPACK_PACKAGE_CONTACT "Zarvo-Edit-ontwikkelaars <ontwikkelaars@zarvo-edit.invalid>")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The libraries (Qt 6 among them) come from what the programs link,
# through dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
