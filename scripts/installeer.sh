#!/bin/sh
# Installs the Debian 12 packages needed to build, test and benchmark.
# Safe to run again: packages already present are left alone.
# With arguments it installs those packages instead (scripts/windows.sh).
set -eu

PAKKETTEN="$*"
[ -n "$PAKKETTEN" ] || PAKKETTEN="build-essential cmake ninja-build g++ clang-14 libclang-rt-14-dev \
  libgtest-dev libgmock-dev googletest libbenchmark-dev \
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n libgl-dev libxkbcommon-dev fonts-dejavu-core \
  python3 python3-pandas time libsqlite3-dev gdal-bin python3-gdal"

ontbreekt=""
for p in $PAKKETTEN; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    ontbreekt="$ontbreekt $p"
  fi
done

if [ -z "$ontbreekt" ]; then
  echo "Alle benodigde pakketten zijn al geïnstalleerd."
  exit 0
fi

echo "Installeren:$ontbreekt"
if [ "$(id -u)" -eq 0 ]; then
  SUDO=""
else
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $ontbreekt
