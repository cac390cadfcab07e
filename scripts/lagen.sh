#!/bin/sh
# The folders are layers, lowest first; a file may include headers of its
# own folder and of the folders below it, never of one above. Prints which
# folder includes which and fails on an include against that order.
# scripts/lagen.sh [-q]   (-q: only the faults)
set -eu
cd "$(dirname "$0")/.."
stil="${1:-}"
# batch/ and shell/ are the two programs on top; batch stands on the core
# alone, platform/ on basis/ alone.
laag() {
  case "$1" in
    basis) echo 0 ;; input) echo 1 ;; ditch) echo 2 ;; output) echo 3 ;; taak) echo 4 ;;
    platform) echo 5 ;; schermen) echo 6 ;; shell) echo 7 ;; batch) echo 7 ;;
    *) echo "" ;;
  esac
}
paren=$(mktemp)
trap 'rm -f "$paren"' EXIT
fout=0
for bestand in $(git ls-files '*.cpp' '*.h'); do
  map=${bestand%%/*}
  [ -n "$(laag "$map")" ] || continue
  for kop in $(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$bestand"); do
    doel=${kop%%/*}
    [ "$doel" != "$kop" ] && [ "$doel" != "$map" ] || continue
    echo "$map $doel" >>"$paren"
    van=$(laag "$map")
    naar=$(laag "$doel")
    if [ -z "$naar" ] || [ "$naar" -ge "$van" ] ||
       { [ "$map" = batch ] && [ "$naar" -ge 5 ]; } || { [ "$map" = platform ] && [ "$doel" != basis ]; }; then
      echo "tegen de lagen in: $bestand -> $kop" >&2
      fout=1
    fi
  done
done
if [ "$stil" != "-q" ]; then
  sort "$paren" | uniq -c | awk '{ naar[$2] = naar[$2] " " $3 } END { for (m in naar) print m " ->" naar[m] }' | sort
fi
exit $fout
