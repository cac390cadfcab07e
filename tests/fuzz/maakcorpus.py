#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into tests/fuzz/corpus/.

Seeds are small pieces of the bundled sample (a profile around its ditch,
one with a foreland code, the ditch records that go with them) and a
catalogue of bad files: every way a line can be wrong that the readers
must refuse with a message. Run again after changing the pieces; the
files are checked in so that the fuzz run needs no Python.
"""
from pathlib import Path

hier = Path(__file__).resolve().parent
bron = hier.parent.parent / "voorbeelden"
corpus = hier / "corpus"

regels = (bron / "profielen.txt").read_text().splitlines()
slootregels = (bron / "sloot.csv").read_text().splitlines()


def profiel(naam):
    return [r for r in regels if r.endswith("," + naam)]


def stuk(naam, van, tot):
    """Lines van..tot (0-based, exclusive end) of one sample profile."""
    return "\n".join(profiel(naam)[van:tot]) + "\n"


def record(naam):
    return next(r for r in slootregels if r.startswith(naam + ";"))


kop = slootregels[0]
# DP112+025 has a foreland code (51) and its ditch edges (5 ... 2);
# DP112+000 only its ditch.
rond_sloot_025 = stuk("DP112+025", 3, 8) + stuk("DP112+025", 29, 40)
rond_sloot_000 = "\n".join(r for r in profiel("DP112+000") if r.split(",")[0] in ("5", "2", "4", "3", "18")) + "\n"

goed_profielen = {
    "voorbeeld_025": rond_sloot_025,
    "voorbeeld_000": rond_sloot_000,
    "twee_profielen": rond_sloot_000 + rond_sloot_025,
    "crlf_bom": "\ufeff" + rond_sloot_000.replace("\n", "\r\n"),
    "lege_naam_vervolg": "1,99,0,0,1,A\n2,5,1,0,0.5,\n3,2,4,0,0.5,\n",
    "aanhalingstekens": '"a,b",\"x\",1,2,3,"P 1"\n 5 , 999 , 2 , 2 , 2 , P 1 \n',
    "dubbel_punt": "1,99,1.0004,2,3,P\n2,99,1.0001,2,4,P\n3,99,1,2.5,4,P\n",
    "zelfde_naam_twee_blokken": "1,5,0,0,1,A\n1,2,3,0,1,A\n1,99,0,5,0,B\n1,99,0,6,0,A\n",
    "exponenten": "1,99,1e3,-2.5E-2,+0.0005,P\n1,99,-0,1.0625,2.0005,P\n",
    "codes_als_tekst": '" 5 ",999,0,0,2,P\n99," 2",6,0,2,P\n" 51 ",999,-3,0,1,P\n',
}
slechte_profielen = {
    "vijf_velden": "1,99,1,1,1\n",
    "zeven_velden": "1,99,1,1,1,P,extra\n",
    "lege_y": "1,99,1,1,1,P\n\n2,99,2,,2,P\n",
    "puntkomma_in_getal": "1,99,1,1,1,P\n2,99,2;5,2,2,P\n",
    "open_aanhalingsteken": '1,99,1,1,1,P\n2,99,2,2,2,"P\n',
    "tekens_na_aanhalingsteken": '1,99,2,2,"2"x,P\n',
    "twee_punten": "1,99,1,1,2.5.1,P\n",
    "te_groot": "1,99,1,1,1e999,P\n",
    "nan": "1,99,1,1,nan,P\n",
    "geen_naam_eerst": "1,99,1,1,1,\n2,99,2,2,2,P\n",
    "nul_byte": "1,99,1\0,1,1,P\n",
    "alleen_witruimte": "\n\r\n  \n",
    "decimale_komma": '1,99,"1,5",1,1,P\n',
}

goede_sloten = {
    "voorbeeld": "\n".join([kop, record("DP112+025")]) + "\n",
    "voorbeeld_crlf": "\r\n".join([kop, record("DP112+000"), record("DP112+025")]),
    "extra_velden": kop + "\nP;-1,25 ;1.5;2;0,5;;1.25;extra;meer\n",
    "alleen_kop": kop,
}
slechte_sloten = {
    "lege_regel_midden": kop + "\na;1;2;3;4;5;6\n\nc;1;2;3;4;5;6\n",
    "zes_velden": kop + "\na;1;2;3;4;5\n",
    "komma_gescheiden": kop + "\na,1,2,3,4,5,6\n",
    "lege_regel_eind": kop + "\na;1;2;3;4;5;6\n\n",
}

# The whole job: profile file, the line "#SLOOT#", ditch file. Records
# that the construction must refuse are part of it.
slootrecords_025 = [
    record("DP112+025"),
    "DP112+025;9;2;2;;;",            # bottom above the edges
    "DP112+025;-1.6;50;50;;;",       # slopes too wide for the ditch
    "DP112+025;x;2;2;;;",            # bottom not a number
    "DP112+025;-1.6;2;2;-1;;0,5",    # negative foreland
    "DP112+025;-1e308;1e308;2;1e308;;1e308",
]
pijplijn = {
    f"sloot_{i}": rond_sloot_025 + "#SLOOT#\n" + kop + "\n" + r + "\n"
    for i, r in enumerate(slootrecords_025)
}
pijplijn["zonder_sloot"] = rond_sloot_000 + rond_sloot_025
pijplijn["rand_dubbel_gecodeerd"] = "1,5,0,0,1,P\n5,2,3,0,1,P\n99,999,6,0,1,P\n"
pijplijn["veel_tussenpunten"] = (
    "5,999,0,0,1,P\n" + "".join(f"99,999,{i},0,-1,P\n" for i in range(1, 9)) + "2,999,9,0,1,P\n"
)


def schrijf(doel, stukken):
    map_ = corpus / doel
    map_.mkdir(parents=True, exist_ok=True)
    for naam, inhoud in stukken.items():
        (map_ / naam).write_bytes(inhoud.encode("utf-8", "surrogateescape"))


schrijf("leesbestand", {**goed_profielen, **{"fout_" + k: v for k, v in slechte_profielen.items()}})
schrijf("leesbestandsloot", {**goede_sloten, **{"fout_" + k: v for k, v in slechte_sloten.items()}})
schrijf("pijplijn", {**pijplijn, **{"profiel_" + k: v for k, v in goed_profielen.items()}})

# The save's names: result, list and a name that is there beforehand,
# separated by NUL; the first byte odd means a list is written. Plus
# journals, so that the journal reader starts from its own form.
opslagnamen = {
    "gewoon": "\x01output_profiel_a.txt\x00output_verwijderde_profielen_a.txt\x00andere.txt",
    "oude_lijst": "\x02uit.csv\x00weg.csv\x00weg.csv",
    "zelfde_naam": "\x03uit.csv\x00uit.csv\x00uit.csv",
    "lang": "\x01" + "x" * 255 + "\x00lijst\x00y",
    "eigen_naam": "\x01.zarvo-opslag.lock\x00lijst\x00.zarvo-opslag.journaal",
    "regelovergang": "\x01a\nb.csv\x00c\rd.csv\x00a\nb.csv",
    "journaal": "zarvo-opslag 1 K\nP 8:/m/a.tmp0:8:/m/a.csv\nW 0:8:/m/b.oud8:/m/b.csv\n",
    "journaal_voorbereid": "zarvo-opslag 1 V\nP 8:/m/a.tmp8:/m/a.oud6:/m/a b\n",
}
schrijf("opslagnamen", opslagnamen)
