#!/bin/sh
# Times "zarvo-batch bouw" (read, build the ditches, write the result)
# against data-frame libraries doing less: only reading the same file and
# writing it back TAB-separated with CRLF. The peers are polars (its
# Node.js package, which uses every core), DuckDB (its Node.js package) and
# pandas (read_csv + to_csv, from Debian's python3-pandas). All of them run
# in turn within one round, rounds repeated, so that a change in the
# machine's load hits every one alike, and each one starts after the
# files written before it are on disk; the medians are printed with their
# ratios. Also: "zarvo-batch lijst" against "wc -l", peak resident memory
# against the file size, the time per point at 10,000,000 points against
# that at 1,000,000, and the number of execve calls per run.
#
#   scripts/bench-peers.sh [--rondes N] [--zonder-10m] [BUILDMAP]
#
# BUILDMAP defaults to build-bench (RelWithDebInfo, no screens). The npm
# packages are installed, when missing, into $ZARVO_PEERS (default
# ~/.cache/zarvo-bench-peers), outside the repository: they are benchmark
# peers, never something the programs use. The files (46 MB and 460 MB)
# are made in a temporary folder and removed afterwards.
set -eu
cd "$(dirname "$0")/.."

rondes=3
tienmiljoen=1
buildmap=build-bench
while [ $# -gt 0 ]; do
  case "$1" in
    --rondes) rondes="$2"; shift 2 ;;
    --zonder-10m) tienmiljoen=0; shift ;;
    *) buildmap="$1"; shift ;;
  esac
done
case "$buildmap" in /*) ;; *) buildmap="$(pwd)/$buildmap" ;; esac

cmake -S . -B "$buildmap" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARVO_GUI=OFF \
  -DZARVO_TESTS=OFF >/dev/null
cmake --build "$buildmap" --target zarvo-batch -j 2 >"$buildmap/bench-peers.log" 2>&1 ||
  { cat "$buildmap/bench-peers.log" >&2; exit 1; }
batch="$buildmap/batch/zarvo-batch"

peers="${ZARVO_PEERS:-$HOME/.cache/zarvo-bench-peers}"
if [ ! -d "$peers/node_modules/nodejs-polars-linux-x64-gnu" ] || [ ! -d "$peers/node_modules/@duckdb/node-api" ]; then
  mkdir -p "$peers"
  npm install --prefix "$peers" --no-audit --no-fund --loglevel=error \
    nodejs-polars@0.25.2 nodejs-polars-linux-x64-gnu@0.25.2 @duckdb/node-api
fi

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

"$python" scripts/maakvoorbeeld.py --profielen 10000 --punten 100 --uit "$werk/p1m.txt"
if [ "$tienmiljoen" = 1 ]; then
  "$python" scripts/maakvoorbeeld.py --profielen 100000 --punten 100 --uit "$werk/p10m.txt"
fi

cat >"$werk/polars.js" <<'EOF'
const pl = require(process.argv[2] + "/node_modules/nodejs-polars");
// scanCSV: readCSV takes a path without .csv or .tsv for the data itself.
const df = pl.scanCSV(process.argv[3], { hasHeader: false }).collectSync();
df.writeCSV(process.argv[4], { includeHeader: false, separator: "\t", lineTerminator: "\r\n" });
EOF
cat >"$werk/duckdb.js" <<'EOF'
const { DuckDBInstance } = require(process.argv[2] + "/node_modules/@duckdb/node-api");
(async () => {
  const db = await DuckDBInstance.create(":memory:");
  const con = await db.connect();
  const q = (s) => "'" + s.replace(/'/g, "''") + "'";
  await con.run(`COPY (SELECT * FROM read_csv(${q(process.argv[3])}, header = false)) TO ${q(process.argv[4])} ` +
                `(HEADER false, DELIMITER '\t', NEW_LINE '\r\n')`);
})().catch((e) => { console.error(e.message); process.exit(1); });
EOF
cat >"$werk/pandas_kopie.py" <<'EOF'
import sys
import pandas as pd
df = pd.read_csv(sys.argv[1], header=None)
df.to_csv(sys.argv[2], sep="\t", header=False, index=False, lineterminator="\r\n")
EOF

"$python" - "$batch" "$werk" "$peers" "$python" "$rondes" <<'EOF'
import os
import shutil
import statistics
import subprocess
import sys
import time

batch, werk, peers, python, rondes = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4], int(sys.argv[5])
namen = [n for n in ("p1m", "p10m") if os.path.exists(os.path.join(werk, n + ".txt"))]


def draai(opdracht, uitvoer=None):
    """Wall time and peak resident memory (bytes) of one process."""
    # The runs before wrote hundreds of megabytes; without this the system
    # would still be writing them back while the next program is timed,
    # which a short run like "wc -l" or "lijst" feels most.
    os.sync()
    begin = time.perf_counter()
    proces = subprocess.Popen(opdracht, stdout=uitvoer or subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, gebruik = os.wait4(proces.pid, 0)
    tijd = time.perf_counter() - begin
    if status != 0:
        sys.exit("mislukt: " + " ".join(opdracht))
    return tijd, gebruik.ru_maxrss * 1024


def opdrachten(naam):
    bron = os.path.join(werk, naam + ".txt")
    uit = os.path.join(werk, "uit")
    os.makedirs(uit, exist_ok=True)
    doel = os.path.join(uit, naam + ".tab")
    return {
        "zarvo bouw": [batch, "bouw", bron, os.path.join(werk, naam + "_sloot.csv"), "--uitvoermap", uit,
                       "--decimaalteken", "."],
        "polars": ["node", os.path.join(werk, "polars.js"), peers, bron, doel],
        "duckdb": ["node", os.path.join(werk, "duckdb.js"), peers, bron, doel],
        "pandas": [python, os.path.join(werk, "pandas_kopie.py"), bron, doel],
        "zarvo lijst": [batch, "lijst", bron],
        "wc -l": ["wc", "-l", bron],
    }


tijden = {}
geheugen = {}
for ronde in range(rondes):
    for naam in namen:
        for wie, opdracht in opdrachten(naam).items():
            if wie == "pandas" and naam == "p10m" and ronde > 0:
                continue  # a minute a run; once is enough to see the ratio
            t, m = draai(opdracht)
            tijden.setdefault((naam, wie), []).append(t)
            geheugen[(naam, wie)] = max(geheugen.get((naam, wie), 0), m)
    shutil.rmtree(os.path.join(werk, "uit"), ignore_errors=True)

punten = {"p1m": 1_000_000, "p10m": 10_000_000}
print("Medianen van %d rondes, elk programma om de beurt; %d kernen, belasting vooraf: %s"
      % (rondes, os.cpu_count(), open("/proc/loadavg").read().split()[0]))
print("%-6s %-12s %10s %13s %14s" % ("punten", "programma", "tijd (s)", "t / zarvo", "piekgeheugen"))
mediaan = {k: statistics.median(v) for k, v in tijden.items()}
for naam in namen:
    grootte = os.path.getsize(os.path.join(werk, naam + ".txt"))
    for wie in ("zarvo bouw", "polars", "duckdb", "pandas", "zarvo lijst", "wc -l"):
        t = mediaan[(naam, wie)]
        basis = "zarvo lijst" if wie == "wc -l" else "zarvo bouw"
        factor = t / mediaan[(naam, basis)]
        print("%-6s %-12s %10.3f %11.2f × %7.0f MB = %.2f × bestand"
              % (naam, wie, t, factor, geheugen[(naam, wie)] / 1e6, geheugen[(naam, wie)] / grootte))
    print("%-6s zarvo lijst = %.1f × wc -l" % (naam, mediaan[(naam, "zarvo lijst")] / mediaan[(naam, "wc -l")]))
if len(namen) == 2:
    perPunt = {n: mediaan[(n, "zarvo bouw")] / punten[n] for n in namen}
    print("zarvo bouw per punt: %.0f ns bij 1.000.000, %.0f ns bij 10.000.000 punten: %.2f ×"
          % (perPunt["p1m"] * 1e9, perPunt["p10m"] * 1e9, perPunt["p10m"] / perPunt["p1m"]))

# The programs must start once: no process that re-executes itself.
if shutil.which("strace"):
    for wie in ("zarvo bouw", "zarvo lijst"):
        spoor = os.path.join(werk, "spoor")
        subprocess.run(["strace", "-f", "-qq", "-e", "trace=execve", "-o", spoor] + opdrachten(namen[0])[wie],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        with open(spoor) as f:
            aantal = sum(1 for regel in f if "execve(" in regel)
        print("%s: %d execve" % (wie, aantal))
else:
    print("strace niet gevonden: execve niet geteld")
EOF
