// Writing the result of a job: the result file(s) in a chosen format and
// the list of deleted profiles, saved together.
#pragma once

#include <chrono>
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

// What a save did besides writing its files, for the user to hear.
struct Opslagverslag {
  // Traces of an interrupted earlier save in the folder, finished or
  // undone before this save began ("Let op!" messages).
  std::vector<Melding> hersteld;
  // The path of a deleted-profile list of an earlier save that was
  // removed, because this save has no deletions; empty when none.
  std::string oudeLijstVerwijderd;
};

// Writes the result files of 'formaat' under 'namen' (one per file) in
// 'map' and, when profiles were deleted, the list 'naamVerwijderd'; when
// none were, a list of that name from an earlier save is removed. The
// files are one save: after a failure, a signal (SIGINT, SIGTERM, SIGHUP
// when vangOnderbrekingen() is on) or even a kill, the folder holds the
// old files or the new ones, never a mix; what a killed save left is
// finished or undone by the next save into that folder. Two saves into
// one folder take turns; the second waits a few seconds, then fails.
// A link as target is written through; an existing file keeps its
// permissions; a name that is one of the input files (the store's two and
// 'ookInvoer') is refused. Everything is on the disk before it returns.
// Returns nullopt on success, else the "Fout!" message to show; running
// out of memory is such a message too. The success message is the
// caller's to show (meldingOpgeslagen()).
std::optional<Melding> slaOp(const ProfielStore& store, const std::string& map, const Resultaatformaat& formaat,
                             const std::vector<std::string>& namen, const std::string& naamVerwijderd,
                             char decimaalteken, Opslagverslag* verslag = nullptr,
                             const std::vector<std::string>& ookInvoer = {});

// "Bestanden zijn opgeslagen.", with what else the save did.
Melding meldingOpgeslagen(const Opslagverslag& verslag);

// Before any reading: is 'map' a folder we can save into? Finishes or
// undoes what an interrupted save left there (the messages in 'hersteld').
// 'licht' (for a folder merely picked on a screen) leaves a folder without
// such traces untouched and asks the system whether it is writable,
// instead of creating the lock file in it.
std::optional<Melding> controleerDoelmap(const std::string& map, std::vector<Melding>* hersteld = nullptr,
                                         bool licht = false);

// Before any reading: refuses result names that cannot be written (a
// folder, a pipe, a dangling link) or that are one of the input files.
std::optional<Melding> controleerDoelnamen(const std::string& map, const std::vector<std::string>& namen,
                                           const std::string& naamVerwijderd, const std::vector<std::string>& invoer);

// How long a save waits for another one in the same folder (default 5 s).
void zetWachttijdMapslot(std::chrono::milliseconds wacht);

// slaOp() with the profile-lines format.
std::optional<Melding> schrijfResultaat(const ProfielStore& store, const std::string& map,
                                        const std::string& naamResultaat,
                                        const std::string& naamVerwijderd, char decimaalteken);

}  // namespace zarvo
