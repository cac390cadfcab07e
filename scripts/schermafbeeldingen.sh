#!/bin/sh
# Renders every screen offscreen to PNG, by default into docs/.
#   scripts/schermafbeeldingen.sh [DOELMAP] [--schaal 1.5] [--breed]
# The samples are shown from a copy in a neutral folder (/tmp/zb/mijn), so
# that no machine's own paths end up in the pictures.
set -eu
cd "$(dirname "$0")/.."
BOUWMAP=${BOUWMAP:-build}
DOEL=${1:-docs}
[ $# -gt 0 ] && shift
cmake -S . -B "$BOUWMAP" -G Ninja >/dev/null
cmake --build "$BOUWMAP" --target zarvo-schermafbeeldingen -j2
rm -rf /tmp/zb/mijn
mkdir -p /tmp/zb/mijn
cp -r voorbeelden /tmp/zb/mijn/
QT_QPA_PLATFORM=offscreen "$BOUWMAP/scripts/schermafbeeldingen/zarvo-schermafbeeldingen" "$DOEL" --bron /tmp/zb/mijn "$@"
