// The result formats: what a format is (Resultaatformaat), and today's
// profile-lines file. The save that writes them is in output/opslag.h.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "basis/meldingen.h"
#include "basis/profielstore.h"

namespace zarvo {

std::string standaardNaamResultaat(const std::string& bestandsnaam);       // "output_profiel_" + naam
std::string standaardNaamVerwijderd(const std::string& bestandsnaam);      // "output_verwijderde_profielen_" + naam

// Where a format's bytes go.
class Uitvoerstroom {
 public:
  virtual ~Uitvoerstroom() = default;
  // False once writing has failed.
  virtual bool schrijf(std::string_view bytes) = 0;
};

// A form in which the built profiles are handed on. A format writes one or
// more result files; the save around it (temporary files, all or nothing,
// the deleted-profile list) is the same for every format.
class Resultaatformaat {
 public:
  virtual ~Resultaatformaat() = default;
  virtual std::size_t aantalBestanden() const = 0;
  // Default name of result file 'i' for the profile-lines file 'bestandsnaam'.
  virtual std::string standaardNaam(std::size_t i, const std::string& bestandsnaam) const = 0;
  // Writes result file 'i' of 'store' into 'uit'; false when writing failed.
  virtual bool schrijf(std::size_t i, const ProfielStore& store, Uitvoerstroom& uit,
                       char decimaalteken) const = 0;
  // What the format cannot hold, as the message to show; slaOp asks before
  // it touches any file.
  virtual std::optional<Melding> controleer(const ProfielStore&) const { return std::nullopt; }
};

// The result file as the engineers' other tools read it today: one line per
// point, TAB-separated: field 1, field 2, X, Y, Z, profile name.
const Resultaatformaat& profielregels();

}  // namespace zarvo
