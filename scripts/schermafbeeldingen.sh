#!/bin/sh
# Renders every screen offscreen to PNG, by default into docs/.
#   scripts/schermafbeeldingen.sh [DOELMAP] [--schaal 1.5] [--breed]
set -eu
cd "$(dirname "$0")/.."
BOUWMAP=${BOUWMAP:-build}
DOEL=${1:-docs}
[ $# -gt 0 ] && shift
cmake -S . -B "$BOUWMAP" -G Ninja >/dev/null
cmake --build "$BOUWMAP" --target zarvo-schermafbeeldingen -j2
QT_QPA_PLATFORM=offscreen "$BOUWMAP/scripts/schermafbeeldingen/zarvo-schermafbeeldingen" "$DOEL" "$@"
