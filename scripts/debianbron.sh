#!/bin/sh
# Fetches and unpacks a Debian source package of bookworm, through an apt
# configuration of our own in the given work folder (the same suites as
# deb-src lines; lists and downloads stay in that folder): the machine's
# own apt set-up is neither read nor changed.
#
#   scripts/debianbron.sh PAKKET VERSIE WERKMAP
#
# Prints the folder of the unpacked sources (under WERKMAP/bron) last.
set -eu
PAKKET=$1
VERSIE=$2
WERK=$3
mkdir -p "$WERK/apt/lists/partial" "$WERK/apt/cache/archives/partial" "$WERK/bron"
cat >"$WERK/apt/sources.list" <<LIJST
deb-src http://deb.debian.org/debian bookworm main
deb-src http://deb.debian.org/debian bookworm-updates main
deb-src http://deb.debian.org/debian-security bookworm-security main
LIJST
APT="-o Dir::Etc::sourcelist=$WERK/apt/sources.list -o Dir::Etc::sourceparts=-
 -o Dir::State::Lists=$WERK/apt/lists -o Dir::Cache=$WERK/apt/cache"
echo "== Bronnen ophalen ($PAKKET $VERSIE) ==" >&2
# shellcheck disable=SC2086
apt-get $APT update -q >&2
# shellcheck disable=SC2086
(cd "$WERK/bron" && apt-get $APT source "$PAKKET=$VERSIE" >&2)
UITGEPAKT=$(find "$WERK/bron" -mindepth 1 -maxdepth 1 -type d -name "$PAKKET-*" | head -n 1)
[ -n "$UITGEPAKT" ] || { echo "Fout: geen bronnen van $PAKKET in $WERK/bron" >&2; exit 1; }
echo "$UITGEPAKT"
