#!/bin/sh
# The desktop program for 64-bit Windows: Qt cross-built from Debian's
# sources (scripts/qt-windows.sh, cached), zarvo-edit.exe built against it
# and deployed by our install rules (cmake/windows-uitrol.cmake), the screen
# tests and the report under Wine, a screenshot in a real window, then the
# installer (zarvo-edit-VERSIE-setup.exe) and the portable .zip, with a
# silent install, a report by the installed program and a silent uninstall
# that must leave nothing behind.
#
#   scripts/windows-desktop.sh [MAP]     (default build-win-desktop)
#
# ZARVO_GTEST: a GoogleTest built for Windows (scripts/windows.sh passes its
# own); without it, it is built here.
set -eu
cd "$(dirname "$0")/.."
BRON=$(pwd)
MAP=${1:-build-win-desktop}
case "$MAP" in /*) ;; *) MAP="$BRON/$MAP" ;; esac
mkdir -p "$MAP"

fout() { echo "Fout: $*" >&2; exit 1; }
tijd() { date +%s; }
BEGIN=$(tijd)

scripts/installeer.sh cmake ninja-build g++-mingw-w64-x86-64-posix wine64 googletest nsis icoutils \
  qt6-base-dev-tools qt6-translations-l10n fonts-dejavu-core poppler-utils xvfb x11-utils xdotool imagemagick zip unzip

echo "== Qt voor Windows =="
QTBEGIN=$(tijd)
QT=$(scripts/qt-windows.sh)
[ -f "$QT/lib/cmake/Qt6/qt.toolchain.cmake" ] || fout "geen Qt voor Windows in '$QT'"
echo "Qt: $QT ($(( $(tijd) - QTBEGIN )) s)"

WINE=/usr/lib/wine/wine64
[ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)
WINESERVER="$(dirname "$WINE")/wineserver"
export WINEPREFIX="$MAP/wine"
export WINEDEBUG=-all
# No Mono or Gecko (their install would ask); no Linux menu entries made
# from the Start-menu shortcuts of the install test.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=C.UTF-8
unset LC_ALL LC_CTYPE LC_NUMERIC 2>/dev/null || true
winpad() { printf 'Z:%s' "$1" | tr / '\\'; }
# A Wine environment of our own: the install test must start from a clean
# one, so a previous run's is thrown away.
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
"$WINE" wineboot --init >/dev/null 2>&1 || true
"$WINESERVER" -w
"$WINESERVER" -p || true
"$WINE" cmd /c exit >/dev/null 2>&1 </dev/null
XVFB_PID=""
opruimen() {
  [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true
  "$WINESERVER" -k 2>/dev/null || true
}
trap opruimen EXIT
# Qt's and the compiler's runtime DLLs for the programs in the build folder
# (the deployed ones carry their own).
CXXRUNTIME=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
PTHREAD=$(dirname "$(realpath "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")")
WINEPATH="$(winpad "$QT/bin");$(winpad "$CXXRUNTIME");$(winpad "$PTHREAD")"
export WINEPATH

GTEST=${ZARVO_GTEST:-$MAP/googletest-installatie}
if [ ! -f "$GTEST/lib/cmake/GTest/GTestConfig.cmake" ]; then
  echo "== GoogleTest voor Windows =="
  cmake -S /usr/src/googletest -B "$MAP/googletest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$BRON/cmake/mingw-w64-gedeeld.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -DCMAKE_INSTALL_PREFIX="$GTEST" >/dev/null
  cmake --build "$MAP/googletest" -j 2
  cmake --install "$MAP/googletest" >/dev/null
fi

echo "== zarvo-edit.exe bouwen =="
BOUW="$MAP/build"
UITROL="$MAP/uitrol"
# Qt's toolchain file puts Qt and its host tools in the search paths and
# then reads ours.
cmake -S . -B "$BOUW" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$QT/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$BRON/cmake/mingw-w64-gedeeld.cmake" -DQT_HOST_PATH=/usr \
  -DCMAKE_BUILD_TYPE=Release -DZARVO_WERROR=ON -DZARVO_SVG=OFF \
  -DGTest_DIR="$GTEST/lib/cmake/GTest" -DCMAKE_INSTALL_PREFIX="$UITROL" \
  -DZARVO_SQLITE_AMALGAMATIE="$(scripts/sqlite-windows.sh)" >/dev/null
cmake --build "$BOUW" -j 2 --target zarvo-edit zarvo-batch zarvo_gui_tests
rm -rf "$UITROL"
cmake --install "$BOUW" --strip >/dev/null
VERSIE=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BOUW/CMakeCache.txt")
[ -n "$VERSIE" ] || fout "geen versie in $BOUW/CMakeCache.txt"

echo "== Uitrol controleren =="
# Every DLL a deployed program or plugin asks for is deployed beside the
# programs or is one of Windows' own (as Wine has them).
OBJDUMP=x86_64-w64-mingw32-objdump
WINDOWSDLLS=$(dirname "$(find /usr/lib -path '*/wine/x86_64-windows/kernel32.dll' | head -n 1)")
[ -f "$WINDOWSDLLS/user32.dll" ] || fout "Wine's Windows-DLL's niet gevonden"
find "$UITROL" -iname '*.exe' -o -iname '*.dll' >"$MAP/uitrol-pe.txt"
[ "$(wc -l <"$MAP/uitrol-pe.txt")" -gt 8 ] || fout "te weinig programma's en DLL's in de uitrol"
while read -r pe; do
  for dll in $("$OBJDUMP" -p "$pe" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
    [ -z "$(find "$UITROL/bin" "$WINDOWSDLLS" -maxdepth 1 -iname "$dll")" ] || continue
    case "$dll" in api-ms-win-*) continue ;; esac
    fout "$(basename "$pe") vraagt $dll, dat niet is meegeleverd"
  done
done <"$MAP/uitrol-pe.txt"
for f in bin/zarvo-edit.exe bin/zarvo-batch.exe bin/Qt6Core.dll bin/Qt6Gui.dll bin/Qt6Widgets.dll \
         bin/libstdc++-6.dll bin/qt.conf bin/plugins/platforms/qwindows.dll bin/plugins/platforms/qoffscreen.dll \
         bin/plugins/styles/qwindowsvistastyle.dll bin/translations/qtbase_nl.qm bin/fonts/DejaVuSans.ttf \
         LICENSE.txt; do
  [ -f "$UITROL/$f" ] || fout "$f ontbreekt in de uitrol"
done
# The icon is the program's resource (an icon group, type 14) with every
# size of shell/icoon/ in it.
wrestool -x -t14 "$UITROL/bin/zarvo-edit.exe" >"$MAP/zarvo-edit-uit-exe.ico" 2>/dev/null || true
[ "$(icotool -l "$MAP/zarvo-edit-uit-exe.ico" 2>/dev/null | wc -l)" -eq 6 ] || fout "zarvo-edit.exe heeft niet het pictogram in zes maten"

echo "== Schermtests onder Wine (offscreen) =="
# The offscreen platform needs to be told where fonts are (the deployed
# ones); Wine hands a variable WINEQT_X to the program as QT_X and passes
# none that starts with QT_ itself.
export WINEQT_QPA_FONTDIR="$(winpad "$UITROL/bin/fonts")"
# All cases in one process: a Wine start per case would take minutes.
(cd "$BOUW/tests" && "$WINE" zarvo_gui_tests.exe --gtest_brief=1 </dev/null) >"$MAP/schermtests.txt" 2>&1 || {
  tail -n 60 "$MAP/schermtests.txt" >&2
  fout "schermtests onder Wine mislukt"
}
tail -n 3 "$MAP/schermtests.txt"
grep -q '^\[  PASSED  \]' "$MAP/schermtests.txt" || fout "schermtests: geen uitslag"
# The deployed program finds its fonts by itself (qt.conf): not told here.
unset WINEQT_QPA_FONTDIR

# The sample's report by a Windows program, compared with Linux: the same
# number of pages, text written in the bundled fonts (not boxes).
controleerRapport() {  # PDF
  [ -s "$1" ] || fout "geen rapport $1"
  PAGINAS=$(pdfinfo "$1" | sed -n 's/^Pages:[[:space:]]*//p')
  [ "$PAGINAS" = "$VERWACHT" ] || fout "$1 heeft $PAGINAS pagina's, verwacht $VERWACHT"
  pdffonts "$1" | grep -q DejaVuSans || fout "$1: geen DejaVu-letter ingebed"
  pdftotext "$1" - | grep -q 'DP114' || fout "$1: de profielnamen staan niet als tekst in het rapport"
}
if [ -x build/shell/zarvo-edit ]; then
  rm -f "$MAP/linux-rapport.pdf"
  build/shell/zarvo-edit --rapport "$MAP/linux-rapport.pdf" voorbeelden/profielen.txt voorbeelden/sloot.csv
  VERWACHT=$(pdfinfo "$MAP/linux-rapport.pdf" | sed -n 's/^Pages:[[:space:]]*//p')
else
  # One page per profile: the names in the sample's sixth column.
  VERWACHT=$(cut -d, -f6 voorbeelden/profielen.txt | tr -d '\r' | sort -u | grep -c .)
fi
[ "${VERWACHT:-0}" -gt 0 ] || fout "geen verwacht aantal pagina's"

echo "== Draagbare .zip, en het rapport daaruit in een map met een niet-ASCII-naam =="
ZIPNAAM="zarvo-edit-$VERSIE-windows-x64"
rm -rf "$MAP/$ZIPNAAM" "$MAP/$ZIPNAAM.zip"
cp -r "$UITROL" "$MAP/$ZIPNAAM"
(cd "$MAP" && zip -qr9 "$ZIPNAAM.zip" "$ZIPNAAM")
rm -rf "$MAP/$ZIPNAAM"
UIT="$MAP/Projecten Zuid-Oost ë/Dijkvak Noord–Zuid"
rm -rf "$MAP/Projecten Zuid-Oost ë"
mkdir -p "$UIT"
(cd "$UIT" && unzip -q "$MAP/$ZIPNAAM.zip")
"$WINE" "$(winpad "$UIT/$ZIPNAAM/bin/zarvo-edit.exe")" --rapport "$(winpad "$UIT/rapport.pdf")" \
  "$(winpad "$BRON/voorbeelden/profielen.txt")" "$(winpad "$BRON/voorbeelden/sloot.csv")" </dev/null \
  || fout "zarvo-edit.exe --rapport eindigde met $?"
controleerRapport "$UIT/rapport.pdf"
echo "rapport: $PAGINAS pagina's, als onder Linux"

echo "== Schermafbeelding in een echt venster (Xvfb, Windows-platform) =="
SCHERM=:$(( 90 + $$ % 100 ))
Xvfb "$SCHERM" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
sleep 2
kill -0 "$XVFB_PID" 2>/dev/null || fout "Xvfb start niet"
# No window manager: Wine draws the title bars and frames itself, as
# Windows does. The input screen with the sample's files chosen.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
# The samples from a copy in a neutral folder: the picture shows the
# folder tree, and no machine's own paths belong in it.
rm -rf /tmp/zb/mijn
mkdir -p /tmp/zb/mijn
cp -r "$BRON/voorbeelden" /tmp/zb/mijn/
DISPLAY=$SCHERM "$WINE" "$(winpad "$UITROL/bin/zarvo-edit.exe")" \
  "$(winpad /tmp/zb/mijn/voorbeelden/profielen.txt)" "$(winpad /tmp/zb/mijn/voorbeelden/sloot.csv)" </dev/null >/dev/null 2>&1 &
VENSTER_PID=$!
# The id of the window titled TITLE once it shows, waiting up to SECONDS;
# the script fails when it does not come.
wachtOpVenster() {  # TITLE SECONDS
  for _ in $(seq 1 "$2"); do
    sleep 1
    ID=$(DISPLAY=$SCHERM xwininfo -name "$1" 2>/dev/null | sed -n 's/^xwininfo: Window id: \(0x[0-9a-f]*\).*/\1/p')
    [ -z "$ID" ] || { echo "$ID"; return 0; }
  done
  fout "zarvo-edit.exe toont geen venster '$1' onder Wine"
}
# The program opens on its splash screen; a click on it goes on to the input
# screen, as a user does.
VENSTER=$(wachtOpVenster "Halvik - Zarvo Edit 1.0" 60)
sleep 2
DISPLAY=$SCHERM xdotool mousemove --window "$VENSTER" 100 100 click 1
VENSTER=$(wachtOpVenster "Zarvo-Edit - Invoerbestanden kiezen" 30)
# Time to draw its contents.
sleep 5
DISPLAY=$SCHERM import -window "$VENSTER" "$MAP/windows.png"
KLEUREN=$(identify -format '%k' "$MAP/windows.png")
[ "$KLEUREN" -gt 50 ] || fout "de schermafbeelding is leeg ($KLEUREN kleuren)"
"$WINE" taskkill /f /im zarvo-edit.exe >/dev/null 2>&1 </dev/null || true
kill "$VENSTER_PID" 2>/dev/null || true
kill "$XVFB_PID" 2>/dev/null || true
XVFB_PID=""
echo "schermafbeelding: $MAP/windows.png"

echo "== Installatieprogramma (makensis) =="
SETUP="$MAP/zarvo-edit-$VERSIE-setup.exe"
# makensis reads a text file as UTF-8 only behind the byte order mark.
LICENTIE="$MAP/LICENSE-utf8.txt"
{ printf '\357\273\277'; cat LICENSE; } >"$LICENTIE"
rm -f "$SETUP"
makensis -V2 -DVERSIE="$VERSIE" -DUITROL="$UITROL" -DICOON="$BOUW/shell/zarvo-edit.ico" \
  -DLICENTIE="$LICENTIE" -DUIT="$SETUP" shell/zarvo-edit.nsi >"$MAP/makensis.txt" 2>&1 \
  || { cat "$MAP/makensis.txt" >&2; fout "makensis mislukt"; }
[ -s "$SETUP" ] || fout "geen $SETUP"

echo "== Stil installeren, rapport, stil verwijderen (voor één gebruiker en voor allen) =="
# Wine's registry as text, to look for our traces after the uninstall; it is
# written out when the Wine server stops.
sporen() {
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w
  { grep -il zarvo "$WINEPREFIX"/*.reg || true; find "$WINEPREFIX/drive_c" -iname '*zarvo*'; } | sed "s|$WINEPREFIX/||"
}
[ -z "$(sporen)" ] || fout "de Wine-omgeving kent Zarvo-Edit al voor de installatie"
GEBRUIKER=$("$WINE" cmd /c 'echo %USERNAME%' </dev/null 2>/dev/null | tr -d '\r')
for MODUS in CurrentUser AllUsers; do
  if [ "$MODUS" = CurrentUser ]; then
    DOEL="$WINEPREFIX/drive_c/users/$GEBRUIKER/AppData/Local/Programs/Zarvo-Edit"
    MENU="$WINEPREFIX/drive_c/users/$GEBRUIKER/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Zarvo-Edit.lnk"
    REGISTER='HKCU\Software\Classes'
  else
    DOEL="$WINEPREFIX/drive_c/Program Files/Zarvo-Edit"
    MENU="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zarvo-Edit.lnk"
    REGISTER='HKLM\Software\Classes'
  fi
  "$WINE" "$(winpad "$SETUP")" /S "/$MODUS" </dev/null || fout "installeren ($MODUS) eindigde met $?"
  [ -f "$DOEL/bin/zarvo-edit.exe" ] || fout "$MODUS: zarvo-edit.exe niet in $DOEL"
  [ -f "$DOEL/verwijder.exe" ] || fout "$MODUS: geen verwijderprogramma"
  [ -f "$MENU" ] || fout "$MODUS: geen snelkoppeling in het Start-menu ($MENU)"
  for soort in .txt .csv; do
    "$WINE" reg query "$REGISTER\\$soort\\OpenWithList\\zarvo-edit.exe" </dev/null >/dev/null 2>&1 \
      || fout "$MODUS: zarvo-edit staat niet bij Openen met voor $soort"
  done
  "$WINE" reg query "$REGISTER\\Applications\\zarvo-edit.exe\\shell\\open\\command" </dev/null 2>/dev/null \
    | grep -q 'zarvo-edit.exe" "%1"' || fout "$MODUS: geen opdracht voor Openen met"
  rm -f "$MAP/geinstalleerd.pdf"
  "$WINE" "$(winpad "$DOEL/bin/zarvo-edit.exe")" --rapport "$(winpad "$MAP/geinstalleerd.pdf")" \
    "$(winpad "$BRON/voorbeelden/profielen.txt")" "$(winpad "$BRON/voorbeelden/sloot.csv")" </dev/null \
    || fout "$MODUS: het geïnstalleerde programma eindigde met $?"
  controleerRapport "$MAP/geinstalleerd.pdf"
  # The uninstaller copies itself to the temporary folder and returns at
  # once; the copy does the work, so wait until the folder is gone.
  "$WINE" "$(winpad "$DOEL/verwijder.exe")" /S "/$MODUS" </dev/null || fout "verwijderen ($MODUS) eindigde met $?"
  for _ in $(seq 1 60); do [ -e "$DOEL" ] || break; sleep 1; done
  [ ! -e "$DOEL" ] || fout "$MODUS: $DOEL staat er na het verwijderen nog"
  [ ! -e "$MENU" ] || fout "$MODUS: de snelkoppeling staat er na het verwijderen nog"
  OVER=$(sporen)
  [ -z "$OVER" ] || fout "$MODUS: na het verwijderen nog sporen van Zarvo-Edit: $OVER"
  "$WINESERVER" -p || true
  echo "$MODUS: geïnstalleerd, rapport geschreven, verwijderd zonder sporen"
done

echo "== Klaar =="
du -sh "$SETUP" "$MAP/$ZIPNAAM.zip" "$QT" | sed 's/^/  /'
echo "  uitrol: $(du -sh "$UITROL" | cut -f1)"
echo "Windows-desktopbuild in orde in $(( $(tijd) - BEGIN )) s."
