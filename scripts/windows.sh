#!/bin/sh
# The Windows build of the core, zarvo-batch and the core tests: cross-built
# with MinGW-w64 (cmake/mingw-w64.cmake) and run under Wine. Builds
# GoogleTest from Debian's sources with the same compiler, runs every core
# test, then zarvo-batch.exe on the bundled sample into a folder whose name
# is not plain ASCII; its result must be byte for byte the Linux one.
#
#   scripts/windows.sh [MAP]      (default build-win)
set -eu
cd "$(dirname "$0")/.."
BRON=$(pwd)
MAP=${1:-build-win}
case "$MAP" in /*) ;; *) MAP="$BRON/$MAP" ;; esac

scripts/installeer.sh cmake ninja-build g++-mingw-w64-x86-64-posix wine64 googletest

WINE=/usr/lib/wine/wine64
[ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)
# A Wine environment of our own inside the build folder; no Mono or Gecko
# (their install would ask), no debug chatter.
export WINEPREFIX="$MAP/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine turns the command line into Windows text through the locale's
# character set, so it must be UTF-8 for the names below to arrive whole.
export LANG=C.UTF-8
unset LC_ALL LC_CTYPE LC_NUMERIC 2>/dev/null || true
WINESERVER="$(dirname "$WINE")/wineserver"
mkdir -p "$WINEPREFIX"
# Setting up a new Wine environment takes longer than the test list may
# (CMake lists the tests by running them once), so do it first.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$WINE" wineboot --init >/dev/null 2>&1 || true
  "$WINESERVER" -w
fi
# One Wine server for the whole run instead of one per program start.
"$WINESERVER" -p || true  # already running: fine
# The first program also starts Wine's background services, which keep the
# output pipes they inherit open; started here, they hold /dev/null instead
# of a pipe that CMake or a test waits on.
"$WINE" cmd /c exit >/dev/null 2>&1 </dev/null
# A user who writes a decimal comma, as the engineers do: the batch's
# default separator must follow it.
"$WINE" reg add 'HKCU\Control Panel\International' /v sDecimal /d , /f >/dev/null 2>&1 </dev/null
trap '"$WINESERVER" -k 2>/dev/null || true' EXIT

TOOLCHAIN="$BRON/cmake/mingw-w64.cmake"

echo "== GoogleTest voor Windows =="
GTEST="$MAP/googletest-installatie"
if [ ! -f "$GTEST/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$MAP/googletest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -DCMAKE_INSTALL_PREFIX="$GTEST" >/dev/null
  cmake --build "$MAP/googletest" -j 2
  cmake --install "$MAP/googletest" >/dev/null
fi

echo "== Windows-build (kern, zarvo-batch, kerntests) =="
cmake -S . -B "$MAP" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZARVO_GUI=OFF -DZARVO_WERROR=ON -DGTest_DIR="$GTEST/lib/cmake/GTest" \
  -DZARVO_SQLITE_AMALGAMATIE="$(scripts/sqlite-windows.sh)"
cmake --build "$MAP" -j 2

echo "== Kerntests onder Wine =="
ctest --test-dir "$MAP" --output-on-failure -j 2

echo "== zarvo-batch.exe op het voorbeeld, naar een map met een niet-ASCII-naam =="
winpad() { printf 'Z:%s' "$1" | tr / '\\'; }
UIT="$MAP/Projecten Zuid-Oost ë/Dijkvak Noord–Zuid"
rm -rf "$MAP/Projecten Zuid-Oost ë"
mkdir -p "$UIT"
"$WINE" "$MAP/batch/zarvo-batch.exe" bouw "$(winpad "$BRON/voorbeelden/profielen.txt")" \
  "$(winpad "$BRON/voorbeelden/sloot.csv")" --uitvoermap "$(winpad "$UIT")" \
  --verwijder DP114+050 --bestandsnaam voorbeeld.txt --decimaalteken . --kaart kaart.gpkg --dxf kaart.dxf \
  >"$MAP/batch-uit.txt"
cmp "$UIT/output_profiel_voorbeeld.txt" tests/data/bouw_voorbeeld_resultaat.txt
cmp "$UIT/output_verwijderde_profielen_voorbeeld.txt" tests/data/bouw_voorbeeld_verwijderd.txt
# The same job by the Linux build, when there is one, into a folder of its own.
if [ -x build/batch/zarvo-batch ]; then
  LINUX="$MAP/linux-uit"
  rm -rf "$LINUX" && mkdir -p "$LINUX"
  build/batch/zarvo-batch bouw voorbeelden/profielen.txt voorbeelden/sloot.csv --uitvoermap "$LINUX" \
    --verwijder DP114+050 --bestandsnaam voorbeeld.txt --decimaalteken . --kaart kaart.gpkg --dxf kaart.dxf \
    >"$LINUX/stdout.txt" 2>/dev/null
  cmp "$UIT/output_profiel_voorbeeld.txt" "$LINUX/output_profiel_voorbeeld.txt"
  cmp "$UIT/kaart.dxf" "$LINUX/kaart.dxf"
  # The map's content, not its bytes: SQLite stamps the time of writing.
  if command -v ogrinfo >/dev/null; then
    for m in "$UIT" "$LINUX"; do ogrinfo -al -q "$m/kaart.gpkg" >"$m/kaart.txt"; done
    cmp "$UIT/kaart.txt" "$LINUX/kaart.txt"
  fi
  cmp "$MAP/batch-uit.txt" "$LINUX/stdout.txt"
fi
# Without --decimaalteken the regional settings decide (set to a comma above).
"$WINE" "$MAP/batch/zarvo-batch.exe" bouw "$(winpad "$BRON/voorbeelden/profielen.txt")" \
  "$(winpad "$BRON/voorbeelden/sloot.csv")" --uitvoermap "$(winpad "$UIT")" >/dev/null 2>&1
if ! head -n 1 "$UIT/output_profiel_profielen.txt" | grep -q '129976,358'; then
  echo "Fout: zonder --decimaalteken is het decimaalteken niet dat van de landinstellingen (komma)" >&2
  exit 1
fi
echo "Windows-build in orde: uitvoer gelijk aan die van Linux."
