#!/usr/bin/env python3
"""The map and CAD exports as a GIS reads them: GDAL opens the GeoPackage and
the DXF that `zarvo-batch bouw --kaart --dxf` writes for the sample, and
finds the layers, counts, geometry types, spatial reference and the very
coordinates of the result file.

Usage: kaart_test.py ZARVO_BATCH SOURCE_FOLDER (exit 77: GDAL missing, skipped)
"""

import os
import subprocess
import sys
import tempfile

try:
    from osgeo import gdal, ogr
except ImportError:
    print("GDAL voor Python (python3-gdal) ontbreekt; test overgeslagen")
    sys.exit(77)

gdal.UseExceptions()
batch, bron = sys.argv[1], sys.argv[2]
voorbeeld = os.path.join(bron, "voorbeelden")
fouten = []


def eis(goed, tekst):
    if not goed:
        fouten.append(tekst)


def bouw(uit, *extra):
    r = subprocess.run([batch, "bouw", os.path.join(voorbeeld, "profielen.txt"), os.path.join(voorbeeld, "sloot.csv"),
                        "--uitvoermap", uit, "--decimaalteken", ".", "--verwijder", "DP112+050", *extra],
                       capture_output=True, text=True)
    if r.returncode != 0:
        sys.exit("zarvo-batch faalde: " + r.stderr)
    return [regel.split("\t") for regel in r.stdout.splitlines()]


with tempfile.TemporaryDirectory() as uit:
    statussen = bouw(uit, "--kaart", "x.gpkg", "--dxf", "x.dxf")
    profielen = {}  # name -> [(x, y, z)] as in the result file
    with open(os.path.join(uit, "output_profiel_profielen.txt"), encoding="latin-1") as f:
        for regel in f:
            v = regel.rstrip("\r\n").split("\t")
            profielen.setdefault(v[5], []).append(tuple(float(w) for w in v[2:5]))
    aantalSloten = sum(1 for s in statussen if s[2] == "sloot")

    gpkg = ogr.Open(os.path.join(uit, "x.gpkg"))
    namen = [gpkg.GetLayer(i).GetName() for i in range(gpkg.GetLayerCount())]
    eis(namen == ["profielen", "punten", "sloten", "verwijderd"], "lagen: %s" % namen)
    verwacht = {"profielen": (len(profielen), ogr.wkbLineString25D),
                "punten": (sum(len(p) for p in profielen.values()), ogr.wkbPoint25D),
                "sloten": (aantalSloten, ogr.wkbLineString25D),
                "verwijderd": (1, ogr.wkbLineString25D)}
    for naam, (aantal, soort) in verwacht.items():
        laag = gpkg.GetLayerByName(naam)
        eis(laag.GetFeatureCount() == aantal, "%s: %d objecten, verwacht %d" % (naam, laag.GetFeatureCount(), aantal))
        eis(laag.GetGeomType() == soort, "%s: geometrie %s" % (naam, ogr.GeometryTypeToName(laag.GetGeomType())))
        eis(laag.GetSpatialRef().GetAuthorityCode(None) == "28992", "%s: niet EPSG:28992" % naam)
    laag = gpkg.GetLayerByName("profielen")
    for obj in laag:
        g = obj.GetGeometryRef()
        punten = [g.GetPoint(i) for i in range(g.GetPointCount())]
        eis(punten == profielen[obj.GetField("naam")], "profiel %s wijkt af van het resultaat" % obj.GetField("naam"))
        status = [s[2] for s in statussen if s[1] == obj.GetField("naam")][0]
        eis(obj.GetField("uitkomst") == status, "uitkomst van %s" % obj.GetField("naam"))
        eis((obj.GetField("bodempeil") is not None) == (status == "sloot"), "slootmaten van %s" % obj.GetField("naam"))
    weg = next(iter(gpkg.GetLayerByName("verwijderd")))
    eis(weg.GetField("naam") == "DP112+050", "verwijderd: %s" % weg.GetField("naam"))

    dxf = ogr.Open(os.path.join(uit, "x.dxf"))
    perLaag = {}
    for obj in dxf.GetLayer(0):
        perLaag.setdefault(obj.GetField("Layer"), []).append(obj)
    drieD = [[obj.GetGeometryRef().GetPoint(i) for i in range(obj.GetGeometryRef().GetPointCount())]
             for obj in perLaag.get("PROFIEL", [])]
    eis(sorted(drieD) == sorted(profielen.values()), "DXF: de 3D-polylijnen wijken af van de profielen")
    eis(len(perLaag.get("SLOOT", [])) == aantalSloten, "DXF: %d sloten" % len(perLaag.get("SLOOT", [])))
    eis(len(perLaag.get("DWARSPROFIEL", [])) == len(profielen), "DXF: dwarsprofielen")
    eis(sorted(o.GetField("Text") for o in perLaag.get("DWARS_NAAM", [])) == sorted(profielen), "DXF: namen")

with tempfile.TemporaryDirectory() as uit:
    bouw(uit, "--kaart", "y.gpkg", "--crs", "EPSG:7415")
    gpkg = ogr.Open(os.path.join(uit, "y.gpkg"))
    eis(gpkg.GetLayerByName("punten").GetSpatialRef().GetAuthorityCode(None) == "7415", "--crs EPSG:7415")

for f in fouten:
    print("FOUT:", f)
sys.exit(1 if fouten else 0)
