// The built profiles as surface lines and characteristic points, the two
// files the dike-assessment software imports.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ditch/slootprofiel.h"
#include "output/resultaatschrijver.h"

namespace zarvo {

// File 0: "output_oppervlaktelijnen_<stam>.csv", file 1 the characteristic
// points beside it, "output_oppervlaktelijnen_<stam>.krp.csv", where stam is
// the profile-lines file's name without its extension. The ditch points are
// taken from 'feiten' (one record per profile, as the construction left
// them); without one a profile has no ditch points.
class Oppervlaktelijnen : public Resultaatformaat {
 public:
  explicit Oppervlaktelijnen(const std::vector<Bouwfeiten>& feiten) : feiten_(feiten) {}

  std::size_t aantalBestanden() const override { return 2; }
  std::string standaardNaam(std::size_t i, const std::string& bestandsnaam) const override;
  // Refuses what the importers would refuse: a profile of fewer than two
  // points or of no length, a name with ';' in it (or none), a name twice.
  std::optional<Melding> controleer(const ProfielStore& store) const override;
  // Coordinates are written with '.' whatever 'decimaalteken' says.
  bool schrijf(std::size_t i, const ProfielStore& store, Uitvoerstroom& uit, char decimaalteken) const override;

  // What the importers will skip although it is written: profiles whose
  // line reclines (the distance along the first-to-last line, in
  // centimetres, goes back somewhere) and profiles without all six points
  // the macro-stability import needs, named in one warning. Nothing when
  // every profile passes, or when controleer() refuses the store anyway.
  std::optional<Melding> waarschuwing(const ProfielStore& store) const;

  // The point (0-based) each characteristic point of profile 'p' (0-based)
  // lies on, in the table's order; -1 when absent.
  std::vector<std::ptrdiff_t> karakteristiekePuntenVan(const ProfielStore& store, std::size_t p) const;

 private:
  const std::vector<Bouwfeiten>& feiten_;
};

}  // namespace zarvo
