#!/usr/bin/env python3
"""Peak memory of `zarvo-batch bouw` by shape of input.

A file of a given size can hold many small profiles or one huge one, and
either must fit in memory without surprises. For each shape below the
script writes the input (once, in the temporary folder), runs `bouw` in a
fresh process and reports its peak resident memory as a multiple of the
input's size (the profile file plus its ditch file). Target: at most 3 ×.

  profielregels, 1,000,000 one-point profiles   (a ditch record each)
  profielregels, one profile of 5,000,000 points
  profielregels, 10,000 profiles × 100 points    (the usual shape)
  oppervlaktelijnen, 1,000,000 one-point profiles
  oppervlaktelijnen, one profile of 5,000,000 points (one line of ~150 MB)

Usage: scripts/bench-geheugen.py [--bouwmap MAP] [--vorm NAAM]...
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MAP = os.path.join(tempfile.gettempdir(), "zarvo-bench-geheugen")

SLOOTKOP = "profielnaam;slootbodem (m NAP);talud dijkzijde;talud polderzijde;voorland a (m);opmerking;voorland b (m)\n"


def punt(i):
    # A straight transect in RD coordinates with a gentle up and down in Z.
    return 130000.0 + 0.25 * i, 550000.0 - 0.125 * i, 0.5 + ((i * 37) % 200) / 100.0


def schrijfSloot(pad, namen):
    with open(pad, "w") as f:
        f.write(SLOOTKOP)
        for naam in namen:
            f.write("%s;-1.60;2.0;2.2;;;\n" % naam)


def regelsEenPunt(stam, n):
    with open(stam + ".txt", "w") as f:
        for i in range(n):
            x, y, z = punt(i)
            f.write("99,999,%.3f,%.3f,%.3f,P%07d\n" % (x, y, z, i))
    schrijfSloot(stam + "_sloot.csv", ("P%07d" % i for i in range(n)))
    return stam + ".txt"


def regelsEenProfiel(stam, n):
    with open(stam + ".txt", "w") as f:
        blok = []
        for i in range(n):
            x, y, z = punt(i)
            blok.append("99,999,%.3f,%.3f,%.3f,LANG\n" % (x, y, z))
            if len(blok) == 100000:
                f.write("".join(blok))
                blok = []
        f.write("".join(blok))
    schrijfSloot(stam + "_sloot.csv", ["LANG"])
    return stam + ".txt"


def regelsGewoon(stam, profielen, punten):
    with open(stam + ".txt", "w") as f:
        for p in range(profielen):
            f.write("".join("99,999,%.3f,%.3f,%.3f,P%05d\n" % (*punt(p * punten + i), p) for i in range(punten)))
    schrijfSloot(stam + "_sloot.csv", ("P%05d" % p for p in range(profielen)))
    return stam + ".txt"


def lijnenEenPunt(stam, n):
    with open(stam + ".csv", "w") as f:
        f.write("LOCATIONID;X1;Y1;Z1\n")
        for i in range(n):
            f.write("P%07d;%.3f;%.3f;%.3f\n" % (i, *punt(i)))
    schrijfSloot(stam + "_sloot.csv", ("P%07d" % i for i in range(n)))
    return stam + ".csv"


def lijnenEenProfiel(stam, n):
    with open(stam + ".csv", "w") as f:
        f.write("LOCATIONID;" + ";".join("X%d;Y%d;Z%d" % (i, i, i) for i in (1, 2)) + "\n")
        f.write("LANG")
        blok = []
        for i in range(n):
            blok.append(";%.3f;%.3f;%.3f" % punt(i))
            if len(blok) == 100000:
                f.write("".join(blok))
                blok = []
        f.write("".join(blok) + "\n")
    schrijfSloot(stam + "_sloot.csv", ["LANG"])
    return stam + ".csv"


VORMEN = {
    "regels-1M-eenpunt": ("profielregels, 1,000,000 profielen van 1 punt", lambda s: regelsEenPunt(s, 1000000)),
    "regels-5M-eenprofiel": ("profielregels, 1 profiel van 5,000,000 punten", lambda s: regelsEenProfiel(s, 5000000)),
    "regels-10k-100": ("profielregels, 10,000 profielen van 100 punten", lambda s: regelsGewoon(s, 10000, 100)),
    "lijnen-1M-eenpunt": ("oppervlaktelijnen, 1,000,000 profielen van 1 punt", lambda s: lijnenEenPunt(s, 1000000)),
    "lijnen-5M-eenprofiel": ("oppervlaktelijnen, 1 profiel van 5,000,000 punten",
                             lambda s: lijnenEenProfiel(s, 5000000)),
}


def invoer(naam):
    os.makedirs(MAP, exist_ok=True)
    stam = os.path.join(MAP, naam)
    for ext in (".txt", ".csv"):
        if os.path.exists(stam + ext) and os.path.exists(stam + "_sloot.csv"):
            return stam + ext, stam + "_sloot.csv"
    print("invoer maken:", naam, file=sys.stderr)
    pad = VORMEN[naam][1](stam)
    return pad, stam + "_sloot.csv"


def meet(batch, profiel, sloot):
    uit = tempfile.mkdtemp(prefix="zarvo-bench-uit-")
    begin = time.monotonic()
    proces = subprocess.Popen([batch, "bouw", profiel, sloot, "--uitvoermap", uit],
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    # wait4 gives the peak resident memory of this one child.
    _, status, gebruik = os.wait4(proces.pid, 0)
    duur = time.monotonic() - begin
    fouten = proces.stderr.read().decode(errors="replace")
    proces.stderr.close()
    for f in os.listdir(uit):
        os.unlink(os.path.join(uit, f))
    os.rmdir(uit)
    code = os.waitstatus_to_exitcode(status)
    if code != 0:
        sys.exit("zarvo-batch bouw %s gaf afsluitcode %d:\n%s" % (profiel, code, fouten[-2000:]))
    return gebruik.ru_maxrss * 1024, duur


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--bouwmap", default=os.path.join(REPO, "build"))
    p.add_argument("--vorm", action="append", choices=sorted(VORMEN))
    a = p.parse_args()
    batch = os.path.join(a.bouwmap, "batch", "zarvo-batch")
    if not os.path.exists(batch):
        sys.exit("%s ontbreekt: bouw eerst (scripts/bouw.sh %s)" % (batch, a.bouwmap))
    mislukt = False
    print("| vorm | invoer | piek | × invoer | tijd |")
    print("|---|---|---|---|---|")
    for naam in a.vorm or list(VORMEN):
        profiel, sloot = invoer(naam)
        grootte = os.path.getsize(profiel) + os.path.getsize(sloot)
        piek, duur = meet(batch, profiel, sloot)
        factor = piek / grootte
        mislukt |= factor > 3.0
        print("| %s | %.1f MB | %.0f MB | %.2f × | %.2f s |" % (VORMEN[naam][0], grootte / 1e6, piek / 1e6, factor, duur),
              flush=True)
    if mislukt:
        sys.exit("meer dan 3 × de invoer")


if __name__ == "__main__":
    main()
