#!/bin/sh
# Qt for 64-bit Windows, cross-built from Debian's own Qt sources with the
# MinGW-w64 compilers (POSIX threads) and the Qt host tools of
# qt6-base-dev-tools. Only what the desktop program and its screen tests
# use: Core, Gui (with the PDF writer), Widgets and Test, the windows and
# offscreen platform plugins and the Windows style. The result goes into a
# cache outside the repository, named after the Qt version, the compiler and
# the options below, so a second run on the same machine only checks it.
#
#   scripts/qt-windows.sh         prints the installed Qt's folder last
#
# ZARVO_QT_CACHE overrides the cache folder (default /var/cache/zarvo-edit).
set -eu
cd "$(dirname "$0")/.."
BRON=$(pwd)
CACHE=${ZARVO_QT_CACHE:-/var/cache/zarvo-edit}

scripts/installeer.sh cmake ninja-build g++-mingw-w64-x86-64-posix dpkg-dev perl \
  qt6-base-dev qt6-base-dev-tools >&2

TOOLCHAIN="$BRON/cmake/mingw-w64-gedeeld.cmake"
HOSTQT=/usr
# Every feature decided here, before the first build: turning one on later
# rebuilds most of Qt. Off are the modules we do not use, the parts whose
# sources Debian leaves out of its tarball (the tablet support needs wintab,
# SQLite is not there) and what Windows does not give MinGW (ICU, zstd).
# Accessibility stays: on Windows it goes through UI Automation, which is in
# the sources, and a screen reader user needs it.
OPTIES="-DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
 -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
 -DFEATURE_testlib=ON -DFEATURE_widgets=ON -DFEATURE_gui=ON
 -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
 -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF
 -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF
 -DFEATURE_tabletevent=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF
 -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF
 -DFEATURE_freetype=ON -DFEATURE_harfbuzz=ON -DFEATURE_pdf=ON"

# The Qt version is the one of the host tools: they must match.
VERSIE=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
BOVENSTROOMS=$(echo "$VERSIE" | sed 's/[+~-].*//')
COMPILER=$(x86_64-w64-mingw32-g++-posix -dumpfullversion)
SLEUTEL=$(printf '%s\n%s\n%s\n' "$VERSIE" "$OPTIES" "$COMPILER" | cat - "$TOOLCHAIN" "$BRON/cmake/mingw-w64.cmake" \
  | sha256sum | cut -c1-12)
DOEL="$CACHE/qt-$BOVENSTROOMS-mingw-posix-$SLEUTEL"

# A second run with the same key waits for the first one instead of
# building beside it in the same work folder; then it finds the cache.
mkdir -p "$CACHE"
exec 9>"$CACHE/qt-$SLEUTEL.slot"
flock 9

if [ -f "$DOEL/lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake" ] && [ -f "$DOEL/klaar" ]; then
  echo "Qt voor Windows uit de cache: $DOEL" >&2
  echo "$DOEL"
  exit 0
fi

WERK="$CACHE/werk-$SLEUTEL"
# A build that stopped half way (a failure, an interrupted run) is taken up
# where it stopped: the work folder stays until Qt is installed.
if [ -f "$WERK/build/build.ninja" ] && [ -d "$WERK/toolchain" ]; then
  echo "== Qt-build hervat in $WERK ==" >&2
else
rm -rf "$WERK"
QTBRON=$(scripts/debianbron.sh qt6-base "$VERSIE" "$WERK")
[ -f "$QTBRON/CMakeLists.txt" ] || { echo "Fout: geen Qt-bronnen in $WERK/bron" >&2; exit 1; }
# Qt 6.4.2's Windows platform plugin does not build with OpenGL and
# Direct2D off: one function asks the dynamic OpenGL loader (on by default
# on Windows) without asking whether OpenGL is there, and the DirectWrite
# font database it offers is only compiled into QtGui with Direct2D.
PLUGIN="$QTBRON/src/plugins/platforms/windows"
sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' "$PLUGIN/qwindowswindow.cpp"
sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' "$PLUGIN/qwindowsintegration.cpp"

echo "== Qt configureren voor Windows ==" >&2
# Qt's build remembers the toolchain file by its path and reads it again
# whenever it reconfigures itself; a copy in the work folder keeps a resumed
# build working after the clone it was started from is gone.
mkdir -p "$WERK/toolchain"
cp "$TOOLCHAIN" "$BRON/cmake/mingw-w64.cmake" "$WERK/toolchain/"
# shellcheck disable=SC2086
cmake -S "$QTBRON" -B "$WERK/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$WERK/toolchain/$(basename "$TOOLCHAIN")" \
  -DQT_HOST_PATH="$HOSTQT" -DQT_HOST_PATH_CMAKE_DIR="$HOSTQT/lib/x86_64-linux-gnu/cmake" \
  -DCMAKE_INSTALL_PREFIX="$DOEL" $OPTIES >"$WERK/configure.log" 2>&1 \
  || { tail -n 40 "$WERK/configure.log" >&2; rm -rf "$WERK/build"; exit 1; }
fi
echo "== Qt bouwen (duurt op twee vrije kernen ongeveer 30 minuten) ==" >&2
BEGIN=$(date +%s)
# The log of each attempt is kept beside the earlier ones; on a failure the
# first failing step is shown, not the warnings of the jobs beside it.
POGING=$(find "$WERK" -maxdepth 1 -name 'bouw-*.log' | wc -l)
LOG="$WERK/bouw-$((POGING + 1)).log"
cmake --build "$WERK/build" -j "${ZARVO_JOBS:-2}" >"$LOG" 2>&1 || {
  grep -n -A 40 '^FAILED:' "$LOG" | head -n 80 >&2
  echo "Fout: Qt bouwen mislukt; het hele logboek: $LOG (een volgende run gaat daar verder)" >&2
  exit 1
}
rm -rf "$DOEL"
cmake --install "$WERK/build" --strip >"$WERK/install.log" 2>&1 \
  || { tail -n 40 "$WERK/install.log" >&2; exit 1; }
for f in bin/Qt6Core.dll bin/Qt6Gui.dll bin/Qt6Widgets.dll bin/Qt6Test.dll \
         plugins/platforms/qwindows.dll plugins/platforms/qoffscreen.dll \
         plugins/styles/qwindowsvistastyle.dll lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake; do
  [ -f "$DOEL/$f" ] || { echo "Fout: $f ontbreekt in de Qt-installatie" >&2; exit 1; }
done
EIND=$(date +%s)
echo "Qt $BOVENSTROOMS voor Windows gebouwd in $(( (EIND - BEGIN) / 60 )) min $(( (EIND - BEGIN) % 60 )) s" >&2
date -u +%FT%TZ >"$DOEL/klaar"
rm -rf "$WERK"
echo "$DOEL"
