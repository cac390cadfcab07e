#!/usr/bin/env python3
"""Kills zarvo-batch bouw at random moments while it replaces a large result
pair, and checks that the pair survives.

Every round starts from the old pair (result + deleted-profile list of a
run that deleted one profile) and runs the job that writes the new pair (it
deletes another profile). At a random moment, mostly late in the run where
the save is, it sends SIGKILL or SIGTERM. Then it checks:

  - after SIGTERM: exit code 143 (0 when the job had finished, killed by
    the signal when it came before the program had set up its handlers), the old
    or the new pair and nothing else in the folder, at once;
  - after either: a next run of the program (one whose input is missing, so
    that it only looks at the folder and stops) leaves the old or the new
    pair and nothing else: no temporary file, no link, no lock, no journal.

Usage: scripts/onderbreek.py [--rondes N] [--seconden S] [--bouwmap MAP]
Stops after N rounds (default 200) or S seconds, whichever comes first, and
prints how the rounds ended. Exit code 1 on the first broken round.
"""

import argparse
import filecmp
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RESULTAAT = "output_profiel_groot.txt"
LIJST = "output_verwijderde_profielen_groot.txt"


def bouw(batch, werk, invoer, sloot, verwijder, uitvoer, **kw):
    return subprocess.Popen(
        [batch, "bouw", invoer, sloot, "--uitvoermap", uitvoer, "--verwijder", verwijder, "--decimaalteken", "."],
        cwd=werk, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, **kw)


def paar(map_):
    return sorted(os.listdir(map_))


def zelfdePaar(map_, referentie):
    return all(filecmp.cmp(os.path.join(map_, n), os.path.join(referentie, n), shallow=False)
               for n in (RESULTAAT, LIJST))


def welkPaar(map_, oud, nieuw):
    """'oud', 'nieuw', or a description of what is wrong."""
    namen = paar(map_)
    if namen != sorted([RESULTAAT, LIJST]):
        return "inhoud van de map: %s" % ", ".join(namen)
    if zelfdePaar(map_, oud):
        return "oud"
    if zelfdePaar(map_, nieuw):
        return "nieuw"
    return "een mengsel van oud en nieuw"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rondes", type=int, default=200)
    parser.add_argument("--seconden", type=float, default=None)
    parser.add_argument("--bouwmap", default=os.path.join(REPO, "build"))
    parser.add_argument("--profielen", type=int, default=3000)
    args = parser.parse_args()
    batch = os.path.abspath(os.path.join(args.bouwmap, "batch", "zarvo-batch"))
    if not os.access(batch, os.X_OK):
        sys.exit("onderbreek.py: %s ontbreekt; bouw eerst (scripts/bouw.sh %s)" % (batch, args.bouwmap))
    start = time.monotonic()
    rng = random.Random()

    werk = tempfile.mkdtemp(prefix="zarvo-onderbreek-")
    try:
        invoer = os.path.join(werk, "groot.txt")
        sloot = os.path.join(werk, "groot_sloot.csv")
        subprocess.run([sys.executable, os.path.join(REPO, "scripts", "maakvoorbeeld.py"),
                        "--profielen", str(args.profielen), "--punten", "100", "--uit", invoer,
                        "--sloot", sloot], check=True, stdout=subprocess.DEVNULL)
        # Deleting another profile changes both files of the pair.
        oud, nieuw, map_ = (os.path.join(werk, n) for n in ("oud", "nieuw", "uit"))
        duur = []
        # The new pair three times: the median run time, without the first
        # run's cold start, places the kills.
        for referentie, verwijder in ((oud, "DP112+000"), (nieuw, "DP112+025"), (nieuw, "DP112+025"),
                                      (nieuw, "DP112+025")):
            os.makedirs(referentie, exist_ok=True)
            t = time.monotonic()
            p = bouw(batch, werk, invoer, sloot, verwijder, referentie)
            _, fout = p.communicate()
            if p.returncode != 0:
                sys.exit("onderbreek.py: de job faalt zonder onderbreking:\n" + fout.decode(errors="replace"))
            duur.append(time.monotonic() - t)
        looptijd = sorted(duur[1:])[1]
        grootte = sum(os.path.getsize(os.path.join(oud, n)) for n in (RESULTAAT, LIJST))
        print("paar van %.1f MB, een run duurt %.2f s" % (grootte / 1e6, looptijd))

        tellingen = {}
        rondes = 0
        while rondes < args.rondes:
            if args.seconden is not None and time.monotonic() - start + looptijd * 3 > args.seconden:
                break
            rondes += 1
            shutil.rmtree(map_, ignore_errors=True)
            shutil.copytree(oud, map_)
            signaal = rng.choice((signal.SIGKILL, signal.SIGTERM))
            # Mostly where the save is, sometimes anywhere.
            moment = rng.uniform(0.4, 1.0) * looptijd if rng.random() < 0.75 else rng.uniform(0, looptijd)
            p = bouw(batch, werk, invoer, sloot, "DP112+025", map_)
            time.sleep(moment)
            gestuurd = p.poll() is None
            if gestuurd:
                p.send_signal(signaal)
            _, fout = p.communicate()
            code = p.returncode
            naam = signal.Signals(signaal).name if gestuurd else "geen"
            if gestuurd and signaal == signal.SIGTERM:
                direct = welkPaar(map_, oud, nieuw)
                # -15: the signal came before the program had its handlers
                # (while it starts); nothing was written then.
                if code not in (0, 143, -15) or direct not in ("oud", "nieuw"):
                    print("ronde %d, SIGTERM na %.3f s: afsluitcode %d, %s\n%s" %
                          (rondes, moment, code, direct, fout.decode(errors="replace")), file=sys.stderr)
                    return 1
            # The next run finds what the killed one left, before it reads.
            herstel = bouw(batch, werk, "bestaat-niet.txt", sloot, "DP112+025", map_)
            _, herstelFout = herstel.communicate()
            hersteld = b"onderbroken" in herstelFout
            na = welkPaar(map_, oud, nieuw)
            if na not in ("oud", "nieuw"):
                print("ronde %d, %s na %.3f s (afsluitcode %d): %s\n%s%s" %
                      (rondes, naam, moment, code, na, fout.decode(errors="replace"),
                       herstelFout.decode(errors="replace")), file=sys.stderr)
                return 1
            sleutel = (naam, na, "hersteld" if hersteld else "-")
            tellingen[sleutel] = tellingen.get(sleutel, 0) + 1

        print("%d rondes in %.0f s, alle goed (oud of nieuw paar, niets achtergebleven):" %
              (rondes, time.monotonic() - start))
        for (naam, na, hersteld), aantal in sorted(tellingen.items()):
            print("  %-8s %-6s %-9s %d" % (naam, na, hersteld, aantal))
        return 0
    finally:
        shutil.rmtree(werk, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
