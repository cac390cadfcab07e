#!/bin/sh
# SQLite for the Windows builds, from Debian's own sqlite3 source package
# (the same version as libsqlite3-dev on this machine): its amalgamation,
# sqlite3.c and sqlite3.h, made with the source package's own tools. The
# Windows builds compile it with their cross compiler. Kept in a cache
# outside the repository; a second run only prints the folder.
#
#   scripts/sqlite-windows.sh    prints the folder with sqlite3.c last
#
# ZARVO_QT_CACHE overrides the cache folder (default /var/cache/zarvo-edit).
set -eu
cd "$(dirname "$0")/.."
CACHE=${ZARVO_QT_CACHE:-/var/cache/zarvo-edit}
scripts/installeer.sh dpkg-dev tcl gcc make libsqlite3-dev >&2

VERSIE=$(dpkg-query -W -f='${Version}' libsqlite3-dev)
DOEL="$CACHE/sqlite-$VERSIE"
if [ -f "$DOEL/sqlite3.c" ] && [ -f "$DOEL/sqlite3.h" ]; then
  echo "$DOEL"
  exit 0
fi
mkdir -p "$CACHE"
WERK=$(mktemp -d "$CACHE/sqlite-werk.XXXXXX")
trap 'rm -rf "$WERK"' EXIT
SQBRON=$(scripts/debianbron.sh sqlite3 "$VERSIE" "$WERK")
[ -f "$SQBRON/tool/mksqlite3c.tcl" ] || { echo "Fout: geen SQLite-bronnen in $WERK/bron" >&2; exit 1; }
mkdir -p "$WERK/bouw"
(cd "$WERK/bouw" && "$SQBRON/configure" --disable-tcl >"$WERK/configure.log" 2>&1 && make sqlite3.c >"$WERK/make.log" 2>&1) \
  || { tail -n 30 "$WERK"/*.log >&2; exit 1; }
mkdir -p "$DOEL.tmp"
cp "$WERK/bouw/sqlite3.c" "$WERK/bouw/sqlite3.h" "$DOEL.tmp/"
rm -rf "$DOEL"
mv "$DOEL.tmp" "$DOEL"
echo "$DOEL"
