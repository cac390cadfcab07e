#!/bin/sh
# Configures and builds one build folder: scripts/bouw.sh MAP [cmake options...]
set -eu
cd "$(dirname "$0")/.."
map="$1"
shift
cmake -S . -B "$map" -G Ninja "$@" >/dev/null
cmake --build "$map" -j "$(nproc)"
