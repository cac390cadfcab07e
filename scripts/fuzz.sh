#!/bin/sh
# Builds the libFuzzer targets with clang 14 and runs each for a bounded
# time: scripts/fuzz.sh [SECONDS] (default 300 per target).
# One process per target (libFuzzer's default): the machine is shared.
# New inputs that reach new code are kept in build-fuzz/corpus/<target>/,
# next to the checked-in seeds of tests/fuzz/corpus/<target>/, so a later
# run starts from there. ZARVO_FUZZ_MAP chooses another build folder.
# A crash stops the script with the input saved in build-fuzz/funden/.
set -eu
cd "$(dirname "$0")/.."
seconden="${1:-300}"
map="${ZARVO_FUZZ_MAP:-build-fuzz}"

CC=clang-14 CXX=clang++-14 cmake -S . -B "$map" -G Ninja \
  -DZARVO_FUZZ=ON -DZARVO_GUI=OFF -DZARVO_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
doelen="leesbestand leesbestandsloot pijplijn opslagnamen oppervlaktelijnen"
for doel in $doelen; do
  cmake --build "$map" --target "fuzz_$doel" -j 2
done

mkdir -p "$map/funden"
overzicht=""
for doel in $doelen; do
  mkdir -p "$map/corpus/$doel"
  log="$map/fuzz_$doel.log"
  echo "== fuzz_$doel: $seconden s =="
  status=0
  UBSAN_OPTIONS=print_stacktrace=1 ASAN_OPTIONS=detect_leaks=1 \
    "$map/tests/fuzz/fuzz_$doel" -max_total_time="$seconden" -max_len=8192 -rss_limit_mb=2048 \
      -timeout=20 -print_final_stats=1 \
      -artifact_prefix="$map/funden/${doel}-" \
      "$map/corpus/$doel" "tests/fuzz/corpus/$doel" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  tail -n 3 "$log"
  if [ "$status" -ne 0 ]; then
    echo "fuzz_$doel vond een fout (zie $log en $map/funden/):" >&2
    grep -m 20 -E 'ERROR|runtime error|regel geschonden|SUMMARY' "$log" >&2 || true
    exit 1
  fi
  overzicht="$overzicht$(printf 'fuzz_%s\t%s s\t%s uitvoeringen' "$doel" "$seconden" "${runs:-?}")
"
done
echo "== Samenvatting =="
printf '%s' "$overzicht"
