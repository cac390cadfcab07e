// The ditch edges chosen by hand, saved beside the result so that
// zarvo-batch can build the same profiles again (--slootkanten). The file's
// form is told in input/leesslootkanten.h.
#pragma once

#include <string>

#include "basis/profielstore.h"
#include "output/resultaatschrijver.h"

namespace zarvo {

// "output_slootkanten_" + the name without its extension + ".csv".
std::string standaardNaamSlootkanten(const std::string& bestandsnaam);

// Whether any profile of 'store' has its edges chosen (or its ditch taken
// away) by hand.
bool heeftSlootkeuzes(const ProfielStore& store);

// The file's text: the header and a line per profile with a choice, in
// store order, CRLF line ends.
std::string slootkantenTekst(const ProfielStore& store);

// A format with the choices file as one more file after those of 'basis'.
class MetSlootkanten : public Resultaatformaat {
 public:
  explicit MetSlootkanten(const Resultaatformaat& basis) : basis_(basis) {}
  std::size_t aantalBestanden() const override { return basis_.aantalBestanden() + 1; }
  std::string standaardNaam(std::size_t i, const std::string& bestandsnaam) const override;
  bool schrijf(std::size_t i, const ProfielStore& store, Uitvoerstroom& uit, char decimaalteken) const override;
  std::optional<Melding> controleer(const ProfielStore& store) const override { return basis_.controleer(store); }

 private:
  const Resultaatformaat& basis_;
};

}  // namespace zarvo
