#!/usr/bin/env python3
"""Measures reading the profile-lines file and prints the figures.

Makes (once, in the temporary folder) a file of 10,000 points (100 profiles
of 100) and one of 1,000,000 points (10,000 × 100, about 46 MB) with
maakvoorbeeld.py, then reports:

  * throughput and time per point from the Google Benchmark program
    bench_lezen (best of a few repetitions, wall and CPU time);
  * for `zarvo-batch lijst` on the big file, in a fresh process: wall time,
    CPU time and peak resident memory as a multiple of the file size;
  * time per point at 10,000 and at 1,000,000 points and their ratio (from
    bench_lezen; a fresh process for 10,000 points would mostly measure its
    own start-up).

Targets: at least 200 MB/s, peak memory at most 2.5 × the file size, and the
time per point at 1,000,000 points within 1.5 × that at 10,000.

Each measurement is repeated with GLIBC_TUNABLES=glibc.malloc.hugetlb=1 (the
C library then asks the kernel for 2 MB pages): on virtual machines where a
page fault is expensive, filling a million points is dominated by faulting
in 4 kB pages, and this shows how much of the time that is.

Usage: scripts/bench-lezen.py [--bouwmap MAP] [--herhalingen N]
"""

import argparse
import json
import os
import subprocess
import sys
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
KLEIN = (100, 100)
GROOT = (10000, 100)


def bouw(bouwmap):
    if not os.path.exists(os.path.join(bouwmap, "build.ninja")):
        subprocess.run(["cmake", "-S", REPO, "-B", bouwmap, "-G", "Ninja", "-DZARVO_GUI=OFF",
                        "-DZARVO_TESTS=OFF", "-DZARVO_BENCH=ON", "-DCMAKE_BUILD_TYPE=Release"],
                       check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", bouwmap, "--target", "zarvo-batch", "bench_lezen", "-j2"],
                   check=True, stdout=subprocess.DEVNULL)


def bestand(profielen, punten):
    # Same place and names as the benchmark program uses, so it is made once.
    map_ = os.path.join(tempfile.gettempdir(), "zarvo-bench")
    os.makedirs(map_, exist_ok=True)
    stam = os.path.join(map_, "profielen-%dx%d" % (profielen, punten))
    pad = stam + ".txt"
    if not os.path.exists(pad):
        subprocess.run([sys.executable, os.path.join(REPO, "scripts", "maakvoorbeeld.py"),
                        "--profielen", str(profielen), "--punten", str(punten),
                        "--uit", stam + ".tmp", "--sloot", stam + "_sloot.csv"], check=True)
        os.rename(stam + ".tmp", pad)
    return pad


def proces(opdracht, omgeving):
    """Runs one fresh process; returns (wall s, cpu s, peak RSS in bytes)."""
    begin = time.perf_counter()
    kind = subprocess.Popen(opdracht, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=omgeving)
    _, status, gebruik = os.wait4(kind.pid, 0)
    wand = time.perf_counter() - begin
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit("mislukt: %s" % " ".join(opdracht))
    return wand, gebruik.ru_utime + gebruik.ru_stime, gebruik.ru_maxrss * 1024


def meet(bouwmap, herhalingen, omgeving, titel):
    bestand(*KLEIN)
    groot = bestand(*GROOT)
    puntenKlein, puntenGroot = KLEIN[0] * KLEIN[1], GROOT[0] * GROOT[1]
    grootte = os.path.getsize(groot)
    print("== %s ==" % titel)

    uit = subprocess.run([os.path.join(bouwmap, "bench", "bench_lezen"), "--benchmark_format=json",
                          "--benchmark_repetitions=%d" % herhalingen],
                         check=True, capture_output=True, text=True, env=omgeving).stdout
    beste = {}
    for r in json.loads(uit)["benchmarks"]:
        if r.get("run_type") != "iteration":
            continue
        naam = r["run_name"]
        schaal = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[r["time_unit"]]
        tijden = (r["real_time"] * schaal, r["cpu_time"] * schaal)
        if naam not in beste or tijden[0] < beste[naam][0]:
            beste[naam] = tijden
    perPunt = {}
    for naam, (wand, cpu) in sorted(beste.items()):
        profielen, punten = (int(x) for x in naam.split("/")[1:3])
        n = profielen * punten
        mb = os.path.getsize(bestand(profielen, punten)) / 1e6
        perPunt[n] = (wand / n * 1e9, cpu / n * 1e9)
        print("bench_lezen %9d punten: %7.1f ms wand, %7.1f ms cpu; %6.0f MB/s wand, %6.0f MB/s cpu; "
              "%5.0f ns/punt wand, %5.0f ns/punt cpu"
              % (n, wand * 1e3, cpu * 1e3, mb / wand, mb / cpu, perPunt[n][0], perPunt[n][1]))
    if puntenKlein in perPunt and puntenGroot in perPunt:
        print("verhouding tijd per punt 1.000.000 / 10.000: %.2f wand, %.2f cpu (doel <= 1,5)"
              % (perPunt[puntenGroot][0] / perPunt[puntenKlein][0],
                 perPunt[puntenGroot][1] / perPunt[puntenKlein][1]))

    batch = os.path.join(bouwmap, "batch", "zarvo-batch")
    metingen = [proces([batch, "lijst", groot], omgeving) for _ in range(herhalingen)]
    wand = min(m[0] for m in metingen)
    cpu = min(m[1] for m in metingen)
    rss = max(m[2] for m in metingen)
    print("zarvo-batch lijst (%.1f MB, %d punten, los proces): %.0f ms wand, %.0f ms cpu; "
          "%.0f MB/s wand, %.0f MB/s cpu" % (grootte / 1e6, puntenGroot, wand * 1e3, cpu * 1e3,
                                            grootte / 1e6 / wand, grootte / 1e6 / cpu))
    print("piekgeheugen: %.1f MB = %.2f x de bestandsgrootte (doel <= 2,5)"
          % (rss / 1e6, rss / grootte))
    print()


def main():
    parser = argparse.ArgumentParser(description="Meet het inlezen van een profielbestand.")
    parser.add_argument("--bouwmap", default=os.path.join(REPO, "build-bench"),
                        help="bouwmap (wordt zo nodig geconfigureerd en gebouwd)")
    parser.add_argument("--herhalingen", type=int, default=3)
    args = parser.parse_args()
    bouw(args.bouwmap)
    omgeving = dict(os.environ)
    omgeving.pop("GLIBC_TUNABLES", None)
    meet(args.bouwmap, args.herhalingen, omgeving, "standaard (4 kB-pagina's)")
    omgeving["GLIBC_TUNABLES"] = "glibc.malloc.hugetlb=1"
    meet(args.bouwmap, args.herhalingen, omgeving, "met GLIBC_TUNABLES=glibc.malloc.hugetlb=1")
    return 0


if __name__ == "__main__":
    sys.exit(main())
