# The desktop program on Windows: what `cmake --install` puts beside
# zarvo-edit.exe so that the folder runs on a machine without Qt or a
# compiler. The installer and the portable .zip are made from that folder
# (scripts/windows-desktop.sh). Everything goes into bin/, next to the
# programs, where Windows looks for DLLs first.
#
#   bin/  zarvo-edit.exe, zarvo-batch.exe, Qt's DLLs, the C++ runtime DLLs,
#         qt.conf, plugins/ (platforms, styles), translations/ (Qt's Dutch
#         texts), fonts/ (for the offscreen platform of --rapport)
#   licenties/  the licences of what is deployed besides our own

set(ZARVO_UITROL ${CMAKE_INSTALL_BINDIR})

install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
        DESTINATION ${ZARVO_UITROL})
# Windows' own window platform for the screens, the offscreen one for
# --rapport, which must not open a window; the style that draws the
# controls as the rest of Windows does.
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> $<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin>
        DESTINATION ${ZARVO_UITROL}/plugins/platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION ${ZARVO_UITROL}/plugins/styles)

# Qt and our programs share one C++ runtime, the compiler's DLLs
# (cmake/mingw-w64-gedeeld.cmake tells why).
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll} OUTPUT_VARIABLE pad
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${pad}" OR NOT EXISTS "${pad}")
    message(FATAL_ERROR "De compiler kent ${dll} niet (${pad})")
  endif()
  get_filename_component(pad "${pad}" REALPATH)
  install(FILES ${pad} DESTINATION ${ZARVO_UITROL})
endforeach()

# Qt's paths relative to the program's folder. Libraries is where Qt's
# offscreen platform looks for a fonts/ folder: Windows' own fonts are only
# used by the windows platform.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/qt.conf
     "[Paths]\nPrefix = .\nLibraries = .\nPlugins = plugins\nTranslations = translations\n")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/qt.conf DESTINATION ${ZARVO_UITROL})

# Qt's own texts (buttons of message boxes and file dialogs) in Dutch. The
# .qm files do not depend on the platform: the ones of the build machine.
find_file(ZARVO_QT_NL qtbase_nl.qm PATHS /usr/share/qt6/translations NO_CMAKE_FIND_ROOT_PATH REQUIRED)
install(FILES ${ZARVO_QT_NL} DESTINATION ${ZARVO_UITROL}/translations)

# The offscreen platform draws text only with fonts from its fonts/ folder.
set(ZARVO_DEJAVU /usr/share/fonts/truetype/dejavu CACHE PATH "Folder with the DejaVu fonts for --rapport")
foreach(letter DejaVuSans DejaVuSans-Bold DejaVuSans-Oblique DejaVuSans-BoldOblique DejaVuSansMono)
  if(NOT EXISTS ${ZARVO_DEJAVU}/${letter}.ttf)
    message(FATAL_ERROR "${ZARVO_DEJAVU}/${letter}.ttf ontbreekt (Debian: fonts-dejavu-core)")
  endif()
  install(FILES ${ZARVO_DEJAVU}/${letter}.ttf DESTINATION ${ZARVO_UITROL}/fonts)
endforeach()

# Qt is under the LGPL 3 (which builds on the GPL 3), the fonts under their
# own free licence.
foreach(bestand /usr/share/common-licenses/LGPL-3 /usr/share/common-licenses/GPL-3
                 /usr/share/doc/fonts-dejavu-core/copyright)
  if(NOT EXISTS ${bestand})
    message(FATAL_ERROR "${bestand} ontbreekt")
  endif()
endforeach()
install(FILES /usr/share/common-licenses/LGPL-3 DESTINATION licenties RENAME Qt-LGPL-3.txt)
install(FILES /usr/share/common-licenses/GPL-3 DESTINATION licenties RENAME GPL-3.txt)
install(FILES /usr/share/doc/fonts-dejavu-core/copyright DESTINATION licenties RENAME DejaVu.txt)
