// The built profiles for a map and for CAD: a GeoPackage (the OGC format
// the Dutch government exchanges geodata in, opened by every GIS) and an
// ASCII DXF (read by every CAD program). Both are result formats of one
// file, so that they go through the same all-or-nothing save as the result.
#pragma once

#include <span>
#include <string_view>
#include <string>
#include <vector>

#include "basis/profielstore.h"
#include "ditch/slootprofiel.h"
#include "output/resultaatschrijver.h"

namespace zarvo {

// What the exports draw: the built store, what the construction did to each
// profile (index 0 = profile 1; the dimensions, the old ground and the
// messages are left out where these are empty) and the deleted profiles as
// they were read.
struct Kaartinhoud {
  std::span<const SlootStatus> statussen;
  std::span<const Bouwfeiten> feiten;
  std::span<const Profiel> verwijderd;
};

// "sloot", "geen sloot" or "fout", as the batch prints it.
const char* uitkomstTekst(SlootStatus status);

// The spatial reference of the Dutch national grid, which surveys of Dutch
// dikes are in: RD New.
inline constexpr int epsgRdNieuw = 28992;

// "EPSG:28992" (any case, blanks around it allowed) as 28992; 0 when it is
// no such code.
int leesEpsg(std::string_view tekst);

// A GeoPackage with the layers "profielen" (one LineString Z per profile,
// its points as written to the result, with its name, position in the file,
// outcome, message and ditch dimensions), "punten" (one Point Z per point
// with its profile, codes and meaning from the legend), "sloten" (edge,
// bottom points, edge of each built ditch) and "verwijderd" (the deleted
// profiles). 'epsg' is declared as the spatial reference; the coordinates
// are written as they are.
class GeoPackageformaat : public Resultaatformaat {
 public:
  GeoPackageformaat(Kaartinhoud inhoud, int epsg) : inhoud_(inhoud), epsg_(epsg) {}
  std::size_t aantalBestanden() const override { return 1; }
  // "<name without extension>.gpkg".
  std::string standaardNaam(std::size_t i, const std::string& bestandsnaam) const override;
  bool schrijf(std::size_t i, const ProfielStore& store, Uitvoerstroom& uit, char decimaalteken) const override;

 private:
  Kaartinhoud inhoud_;
  int epsg_;
};

// An ASCII DXF (R12, the version every reader takes). Every profile as a 3D
// polyline in its survey coordinates on layer PROFIEL, the built ditch on
// SLOOT and the ground it replaced on MAAIVELD_OUD; and every cross-section
// once more as a 2D L-Z polyline (true scale), laid out in a grid of ten
// columns below the origin with its name above it, on the layers
// DWARSPROFIEL, DWARS_SLOOT, DWARS_MAAIVELD_OUD and DWARS_NAAM, for printing.
class Dxfformaat : public Resultaatformaat {
 public:
  explicit Dxfformaat(Kaartinhoud inhoud) : inhoud_(inhoud) {}
  std::size_t aantalBestanden() const override { return 1; }
  // "<name without extension>.dxf".
  std::string standaardNaam(std::size_t i, const std::string& bestandsnaam) const override;
  bool schrijf(std::size_t i, const ProfielStore& store, Uitvoerstroom& uit, char decimaalteken) const override;

 private:
  Kaartinhoud inhoud_;
};

// The files of several formats as one format, in order (the result with its
// exports, saved together).
class Samengesteldformaat : public Resultaatformaat {
 public:
  explicit Samengesteldformaat(std::vector<const Resultaatformaat*> delen) : delen_(std::move(delen)) {}
  std::size_t aantalBestanden() const override;
  std::string standaardNaam(std::size_t i, const std::string& bestandsnaam) const override;
  bool schrijf(std::size_t i, const ProfielStore& store, Uitvoerstroom& uit, char decimaalteken) const override;
  std::optional<Melding> controleer(const ProfielStore& store) const override;

 private:
  // The part that writes file 'i', and its number there.
  std::pair<const Resultaatformaat*, std::size_t> deel(std::size_t i) const;
  std::vector<const Resultaatformaat*> delen_;
};

}  // namespace zarvo
