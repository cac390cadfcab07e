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
  # Debian keeps the licence of a package as its copyright file.
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zarvo-edit RENAME copyright)
  if(TARGET zarvo-edit)
    install(FILES ${PROJECT_SOURCE_DIR}/shell/zarvo-edit.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
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
set(CPACK_PACKAGE_DESCRIPTION
    "Zarvo-Edit leest een bestand met gemeten dijkdwarsprofielen, laat elk profiel in bovenaanzicht en
dwarsdoorsnede zien om slechte profielen te verwijderen, bouwt het trapeziumvormige slootprofiel uit
het slootbestand in elk overgebleven profiel en schrijft het resultaat. zarvo-batch doet hetzelfde zonder scherm.")
set(CPACK_PACKAGE_CONTACT "Zarvo-Edit-ontwikkelaars")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The libraries (Qt 6 among them) come from what the programs link,
# through dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
