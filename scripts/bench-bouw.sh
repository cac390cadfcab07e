#!/bin/sh
# Times "zarvo-batch bouw" (read, build the ditches, write) against what an
# engineer would otherwise script: pandas.read_csv + DataFrame.to_csv of the
# same file. Prints both times, their ratio, and the time per point at
# 10,000 and 1,000,000 points to show that bouw stays linear.
#
#   scripts/bench-bouw.sh [BUILDMAP]   (default: build-bench; the project's
#                                       default optimised build type)
set -eu
cd "$(dirname "$0")/.."
buildmap="${1:-build-bench}"
case "$buildmap" in /*) ;; *) buildmap="$(pwd)/$buildmap" ;; esac

cmake -S . -B "$buildmap" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARVO_GUI=OFF \
  -DZARVO_TESTS=OFF >/dev/null
cmake --build "$buildmap" --target zarvo-batch -j 2 >"$buildmap/bench-bouw.log" 2>&1 ||
  { cat "$buildmap/bench-bouw.log" >&2; exit 1; }
batch="$buildmap/batch/zarvo-batch"

# pandas comes from the Debian package; a python first on PATH may not see it.
python=""
for p in python3 /usr/bin/python3; do
  if "$p" -c "import pandas" 2>/dev/null; then python="$p"; break; fi
done
if [ -z "$python" ]; then
  echo "pandas niet gevonden (apt-get install python3-pandas)" >&2
  exit 1
fi

werk=$(mktemp -d)
trap 'rm -rf "$werk"' EXIT

# 100 points per profile: 100 and 10,000 profiles.
"$python" scripts/maakvoorbeeld.py --profielen 100 --punten 100 --uit "$werk/p10k.txt"
"$python" scripts/maakvoorbeeld.py --profielen 10000 --punten 100 --uit "$werk/p1m.txt"

"$python" - "$batch" "$werk" <<'EOF'
import os
import subprocess
import sys
import time

import pandas as pd

batch, werk = sys.argv[1], sys.argv[2]
HERHALINGEN = 3


def beste(functie):
    tijden = []
    for _ in range(HERHALINGEN):
        begin = time.perf_counter()
        functie()
        tijden.append(time.perf_counter() - begin)
    return min(tijden)


def bouw(naam):
    uitmap = os.path.join(werk, "uit_" + naam)
    os.makedirs(uitmap, exist_ok=True)
    subprocess.run([batch, "bouw", os.path.join(werk, naam + ".txt"),
                    os.path.join(werk, naam + "_sloot.csv"), "--uitvoermap", uitmap,
                    "--decimaalteken", "."],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(os.path.join(uitmap, "output_profiel_" + naam + ".txt"), "rb") as f:
        return sum(1 for _ in f)


def pandas_kopie(naam):
    df = pd.read_csv(os.path.join(werk, naam + ".txt"), header=None)
    df.to_csv(os.path.join(werk, naam + "_pandas.txt"), sep="\t", header=False, index=False)
    return len(df)


print("%-10s %12s %12s %8s %14s %14s" % ("punten", "bouw (s)", "pandas (s)", "factor",
                                          "bouw ns/punt", "pandas ns/punt"))
perPunt = {}
for naam in ("p10k", "p1m"):
    punten = pandas_kopie(naam)
    regels = bouw(naam)
    tBouw = beste(lambda: bouw(naam))
    tPandas = beste(lambda: pandas_kopie(naam))
    perPunt[naam] = tBouw / punten
    print("%-10d %12.3f %12.3f %8.1f %14.0f %14.0f" % (
        punten, tBouw, tPandas, tPandas / tBouw, tBouw / punten * 1e9, tPandas / punten * 1e9))
    print("           (%d regels geschreven, sloten en voorland erbij)" % regels)
print("bouw per punt bij 1.000.000 / bij 10.000 punten: %.2f" % (perPunt["p1m"] / perPunt["p10k"]))
EOF
