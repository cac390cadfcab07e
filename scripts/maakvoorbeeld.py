#!/usr/bin/env python3
"""Writes a realistic profile-lines file and the matching ditch-profile file.

Without options it writes the small sample in voorbeelden/ (15 profiles of
30 to 80 points). With --profielen/--punten it writes big files for
benchmarks, e.g. 10000 profiles of 100 points (about 50 MB).

The profiles are surveyed cross-sections of a dike in RD coordinates, taken
every 25 m along a gently curving dike line. Every transect runs from the
foreland over the dike to the polder:

  foreland, outer toe (code 3), outer crest edge (18), two asphalt road
  edges (72), inner crest edge (4), polder toe, ditch (dike-side edge 5,
  lower points in between, polder-side edge 2), polder.

Point fields: field 1 holds the point's code and field 2 the secondary code
999; unremarkable points are 99,999. In a few profiles the code stands in
field 2 instead (99,<code>) as some survey exports do. Some profiles carry a
foreland point coded 50/51/60/61/70/71 and values in ditch columns 5 and 7.
One profile (or every 50th in big files) has no ditch. Output is the same
for the same options: the random generator has a fixed seed.
"""

import argparse
import math
import os
import random
import sys

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
VOORLANDCODES = (50, 51, 60, 61, 70, 71)


def profielnaam(i):
    # Dike posts every 100 m, profiles every 25 m: DP112+000, DP112+025, ...
    return "DP%d+%03d" % (112 + i // 4, (i % 4) * 25)


def sleutelpunten(rng, metSloot, metVoorland):
    """The characteristic points of one transect: (distance, z, code, lower-lying ditch point)."""
    kruin = rng.uniform(6.1, 6.8)
    punten = []
    voorlandBegin = rng.uniform(-48.0, -38.0)
    punten.append((voorlandBegin, rng.uniform(0.3, 0.8), None))
    if metVoorland:
        punten.append((rng.uniform(-33.0, -28.0), rng.uniform(0.5, 0.9), rng.choice(VOORLANDCODES)))
    teenBuiten = rng.uniform(-26.0, -22.0)
    punten.append((teenBuiten, rng.uniform(0.9, 1.3), 3))
    punten.append((rng.uniform(-6.5, -5.5), kruin - rng.uniform(0.0, 0.1), 18))
    punten.append((rng.uniform(-3.2, -2.8), kruin + 0.05, 72))
    punten.append((rng.uniform(2.8, 3.2), kruin + 0.04, 72))
    punten.append((rng.uniform(5.5, 6.5), kruin - rng.uniform(0.05, 0.15), 4))
    teenBinnen = rng.uniform(21.0, 26.0)
    maaiveld = rng.uniform(-0.9, -0.4)
    punten.append((teenBinnen, maaiveld + rng.uniform(0.0, 0.1), None))
    einde = teenBinnen + rng.uniform(35.0, 50.0)
    if metSloot:
        randDijk = teenBinnen + rng.uniform(5.0, 9.0)
        breedte = rng.uniform(4.0, 7.0)
        randPolder = randDijk + breedte
        zDijk = maaiveld - rng.uniform(0.05, 0.2)
        zPolder = maaiveld - rng.uniform(0.05, 0.2)
        punten.append((randDijk, zDijk, 5))
        # A few points on the ditch's slopes and bottom, all below both edges.
        diepte = rng.uniform(1.0, 1.5)
        tussen = rng.randint(2, 4)
        for k in range(tussen):
            d = randDijk + breedte * (k + 1) / (tussen + 1)
            punten.append((d, min(zDijk, zPolder) - diepte + rng.uniform(-0.15, 0.15), "sloot"))
        punten.append((randPolder, zPolder, 2))
        einde = max(einde, randPolder + 20.0)
    punten.append((einde, maaiveld + rng.uniform(-0.2, 0.1), None))
    return punten


def transect(rng, aantal, metSloot, metVoorland):
    """Exactly 'aantal' points (distance, z, code) along one transect."""
    sleutel = sleutelpunten(rng, metSloot, metVoorland)
    if aantal < len(sleutel):
        raise SystemExit("maakvoorbeeld: --punten moet minstens %d zijn" % len(sleutel))
    # Spread the extra points over the segments outside the ditch, in
    # proportion to their length.
    segmenten = []
    for a, b in zip(sleutel, sleutel[1:]):
        inSloot = a[2] in (5, "sloot") or b[2] == "sloot"
        segmenten.append(0.0 if inSloot else b[0] - a[0])
    totaal = sum(segmenten)
    extra = aantal - len(sleutel)
    aandelen = [int(extra * s / totaal) for s in segmenten]
    rest = extra - sum(aandelen)
    volgorde = sorted(range(len(segmenten)), key=lambda i: -segmenten[i])
    for i in range(rest):
        aandelen[volgorde[i % len(volgorde)]] += 1

    punten = []
    for (a, b, n) in zip(sleutel, sleutel[1:], aandelen):
        punten.append(a)
        for k in range(n):
            t = (k + 1) / (n + 1)
            d = a[0] + t * (b[0] - a[0])
            z = a[1] + t * (b[1] - a[1]) + rng.uniform(-0.03, 0.03)
            punten.append((d, z, None))
    punten.append(sleutel[-1])
    return punten


def codevelden(code, inVeld2):
    if code is None or code == "sloot":
        return "99", "999"
    return ("99", str(code)) if inVeld2 else (str(code), "999")


def getal(x, decimalen, komma):
    tekst = "%.*f" % (decimalen, x)
    return tekst.replace(".", ",") if komma else tekst


def schrijf(uitPad, slootPad, aantalProfielen, punten, seed):
    rng = random.Random(seed)
    klein = aantalProfielen <= 50
    # Dike line: from near RD (130000, 550000) north-eastwards, slightly curved.
    x0, y0 = 130000.0, 550000.0
    richting = math.radians(58.0)  # bearing of the dike axis, clockwise from north
    geenSloot = {7} if klein else set(range(23, aantalProfielen, 50))

    regels = []
    sloten = ["profielnaam;slootbodem (m NAP);talud dijkzijde;talud polderzijde;"
              "voorland a (m);opmerking;voorland b (m)\n"]
    with open(uitPad, "w", newline="\n", encoding="utf-8") as uit:
        s = 0.0
        for i in range(aantalProfielen):
            naam = profielnaam(i)
            metSloot = i not in geenSloot
            metVoorland = (i % 4 == 1) if klein else (i % 10 == 1)
            inVeld2 = (i % 5 == 3)
            aantal = punten if punten else rng.randint(30, 80)
            hoek = richting + 0.15 * math.sin(s / 400.0)
            ax, ay = math.sin(hoek), math.cos(hoek)   # along the dike
            px, py = ay, -ax                           # across it, towards the polder
            bx, by = x0 + s * math.sin(richting), y0 + s * math.cos(richting)
            laagsteRand = None
            for d, z, code in transect(rng, aantal, metSloot, metVoorland):
                x = bx + d * px + rng.uniform(-0.02, 0.02)
                y = by + d * py + rng.uniform(-0.02, 0.02)
                v1, v2 = codevelden(code, inVeld2)
                regels.append("%s,%s,%.3f,%.3f,%.3f,%s\n" % (v1, v2, x, y, z, naam))
                if code in (5, 2):
                    laagsteRand = z if laagsteRand is None else min(laagsteRand, z)
            if len(regels) >= 20000:
                uit.write("".join(regels))
                regels.clear()

            # Ditch record: bottom below both edges, slopes 1.5 to 2.5. A
            # third of the records come from a Dutch spreadsheet: decimal comma.
            komma = i % 3 == 1
            bodem = (laagsteRand if laagsteRand is not None else -0.8) - rng.uniform(0.7, 1.1)
            a = getal(rng.uniform(2.0, 6.0), 2, komma) if metVoorland else ""
            b = getal(rng.uniform(0.5, 3.0), 2, komma) if metVoorland else ""
            opmerking = "" if metSloot else "geen sloot"
            sloten.append("%s;%s;%s;%s;%s;%s;%s\n" % (
                naam, getal(bodem, 2, komma), getal(rng.uniform(1.5, 2.5), 1, komma),
                getal(rng.uniform(1.5, 2.5), 1, komma), a, opmerking, b))
            s += 25.0
        uit.write("".join(regels))
    with open(slootPad, "w", newline="\n", encoding="utf-8") as uit:
        uit.write("".join(sloten))


def main():
    parser = argparse.ArgumentParser(
        description="Schrijft een voorbeeld-profielbestand en het bijbehorende slootbestand.")
    parser.add_argument("--profielen", type=int, default=15, help="aantal profielen (standaard 15)")
    parser.add_argument("--punten", type=int, default=0,
                        help="punten per profiel (standaard 30 tot 80, willekeurig)")
    parser.add_argument("--uit", default=os.path.join(REPO, "voorbeelden", "profielen.txt"),
                        help="pad van het profielbestand")
    parser.add_argument("--sloot", default=None,
                        help="pad van het slootbestand (standaard naast --uit, eindigend op _sloot.csv; "
                             "voor het standaardvoorbeeld voorbeelden/sloot.csv)")
    parser.add_argument("--seed", type=int, default=20240611, help="startwaarde van het toeval")
    args = parser.parse_args()
    if args.profielen < 1:
        parser.error("--profielen moet minstens 1 zijn")
    slootPad = args.sloot
    if slootPad is None:
        if os.path.abspath(args.uit) == os.path.join(REPO, "voorbeelden", "profielen.txt"):
            slootPad = os.path.join(REPO, "voorbeelden", "sloot.csv")
        else:
            slootPad = os.path.splitext(args.uit)[0] + "_sloot.csv"
    os.makedirs(os.path.dirname(os.path.abspath(args.uit)), exist_ok=True)
    schrijf(args.uit, slootPad, args.profielen, args.punten, args.seed)
    return 0


if __name__ == "__main__":
    sys.exit(main())
