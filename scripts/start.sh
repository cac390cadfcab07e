#!/bin/sh
# The main job on the bundled sample: opens the desktop program on the
# sample files; without a display it runs the headless job instead.
set -eu
cd "$(dirname "$0")/.."
scripts/installeer.sh
scripts/bouw.sh build

PROFIELEN=voorbeelden/profielen.txt
SLOTEN=voorbeelden/sloot.csv

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/shell/zarvo-edit "$PROFIELEN" "$SLOTEN"
fi

echo "Geen beeldscherm gevonden (DISPLAY is leeg): de sloten worden zonder scherm gebouwd."
mkdir -p uitvoer
build/batch/zarvo-batch bouw "$PROFIELEN" "$SLOTEN" --uitvoermap uitvoer
echo "Resultaat geschreven in $(pwd)/uitvoer/"
