#!/bin/sh
# Renders the application icon (shell/icoon/zarvo-edit.svg) to the PNG sizes
# that desktops and the window use. Run again after changing the drawing.
set -eu
cd "$(dirname "$0")/../shell/icoon"
command -v rsvg-convert >/dev/null || "$(dirname "$0")/installeer.sh" librsvg2-bin
for maat in 16 32 48 64 128 256; do
  rsvg-convert -w "$maat" -h "$maat" zarvo-edit.svg -o "zarvo-edit-$maat.png"
done
