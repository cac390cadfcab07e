// The save: slaOp() and the checks before it, for every result format.
//
// Its files (result files, the deleted-profile list, or the removal of a
// list that no longer belongs to the result) are either all in place or
// none is, even when the program is killed halfway. The parts that do
// that (namespace zarvo::opslag) are used by slaOp() alone.
//
// How: every new file is written to a short hidden temporary name beside
// its target and pushed to the disk. A journal in the chosen folder lists
// the steps before anything is created (state "prepared"), and is replaced
// by one in state "committed" once every temporary file is complete. Only
// then are the files renamed into place. Whoever finds a journal later
// finishes a committed save and undoes a prepared one; the files replaced
// stay reachable under a second name (a hard link) until the journal is
// gone, so that a rename that fails can be undone.
//
// The journal names files by their bare names in its own folder, so that
// it means the same whichever working folder the run that finds it has.
// A folder may be shared: a journal is only followed when it, and every
// file it names, belongs to the user running, and then only within its
// folder (or through a link of that user's in it). Anything else is left
// alone, and saving into that folder is refused until the user has looked.
#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "output/resultaatschrijver.h"
#include "basis/meldingen.h"
#include "basis/profielstore.h"

namespace zarvo {

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

// One file of a one-file format (an export) as 'naam' in 'map', with the
// same care as slaOp(): the old file or the new one, never half of it; the
// folder's lock and the traces of an interrupted save dealt with as there.
// The result files and the deleted-profile list are not touched.
std::optional<Melding> slaBestandOp(const ProfielStore& store, const std::string& map, const std::string& naam,
                                    const Resultaatformaat& formaat, const std::vector<std::string>& ookInvoer = {},
                                    Opslagverslag* verslag = nullptr);

// "Bestanden zijn opgeslagen.", with what else the save did.
Melding meldingOpgeslagen(const Opslagverslag& verslag);

// What is wrong with the name of a file the save writes into the chosen
// folder. A name is one file in that folder: empty (or blank) would make
// the folder itself the target, "." and ".." and a separator would write
// somewhere other than the folder the user sees, and names starting with
// ".zarvo-" are the save's own lock, journal and temporary files.
enum class Naamfout { Geen, Leeg, PuntOfPuntPunt, Scheidingsteken, Gereserveerd };
Naamfout controleerBestandsnaam(std::string_view naam);
// Why, in a few words: "bevat een '/' of '\\'", ...; empty for Geen.
std::string_view naamfoutTekst(Naamfout fout);

// Why a save cannot go where it was asked to: what it is about and why,
// apart, for a screen that shows only the reason.
struct Opslagfout {
  Opslagfout(std::string pad_, std::string reden_, std::string kop_ = {})
      : pad(std::move(pad_)), reden(std::move(reden_)), kop(std::move(kop_)) {}
  std::string pad;    // the folder or file as named to the user (UTF-8)
  std::string reden;  // e.g. "de map bestaat niet"
  // The first line when the name is not the cause (a busy folder); empty
  // for "Fout bij het opslaan, controleer bestandsnaam".
  std::string kop;
  // The message that says both: the first line, then "<pad>: <reden>".
  Melding melding() const;
};

// Before any reading: is 'map' a folder we can save into? Finishes or
// undoes what an interrupted save left there (the messages in 'hersteld').
// 'licht' (for a folder merely picked on a screen) leaves a folder without
// such traces untouched and asks the system whether it is writable,
// instead of creating the lock file in it.
std::optional<Opslagfout> controleerDoelmap(const std::string& map, std::vector<Melding>* hersteld = nullptr,
                                            bool licht = false);

// Before any reading: refuses result names that cannot be written (a
// folder, a pipe, a dangling link, a name or path longer than the system
// takes, a write-protected file) or that are one of the input files.
std::optional<Melding> controleerDoelnamen(const std::string& map, const std::vector<std::string>& namen,
                                           const std::string& naamVerwijderd, const std::vector<std::string>& invoer);

// How long a save waits for another one in the same folder (default 5 s).
void zetWachttijdMapslot(std::chrono::milliseconds wacht);

// slaOp() with the profile-lines format.
std::optional<Melding> schrijfResultaat(const ProfielStore& store, const std::string& map,
                                        const std::string& naamResultaat,
                                        const std::string& naamVerwijderd, char decimaalteken);

}  // namespace zarvo

namespace zarvo::opslag {

// A file of the save, with a link as target followed to the file it
// points at (the link stays a link).
struct Doel {
  std::filesystem::path gekozen;  // as the user named it, for messages
  std::filesystem::path pad;      // where the bytes go
  bool bestaat = false;
  bool beveiligd = false;  // a write-protected file: never replaced or removed
  std::optional<std::filesystem::perms> modus;  // of the file it replaces
};

// Fills 'doel' for the chosen path; otherwise the reason it is refused.
std::optional<std::string> bepaalDoel(const std::filesystem::path& gekozen, Doel& doel);

// One step of the journal. Every name is a bare name: 'doel' in the
// journal's folder, the other two beside the file the bytes go to (the
// same folder, unless 'doel' is a link that was written through).
struct Stap {
  enum class Soort : char { Plaats = 'P', Weg = 'W' };
  Soort soort = Soort::Plaats;
  std::filesystem::path tijdelijk;  // Plaats: the new file until it is renamed
  std::filesystem::path reserve;    // a second name of the file replaced or removed; empty when none
  std::filesystem::path doel;
  bool viaKoppeling = false;  // Plaats: 'doel' is a link, its file gets the bytes
};

enum class Staat : char { Voorbereid = 'V', Vastgelegd = 'K', Terug = 'T' };

// The journal as bytes and back; lengths before every name, so that any
// byte a name may hold (a newline too) survives. leesJournaal() also reads
// the journals of earlier versions ('versie' 1), which held the paths as
// the save was given them; herstel() decides whether those are safe.
std::string journaalTekst(Staat staat, const std::vector<Stap>& stappen);
bool leesJournaal(std::string_view tekst, Staat& staat, std::vector<Stap>& stappen, int* versie = nullptr);

// The journal's name in the chosen folder.
const char* journaalNaam();

// Whether 'map' holds anything herstel() would deal with.
bool heeftSporen(const std::filesystem::path& map);

struct Herstel {
  std::vector<std::string> gedaan;  // one sentence per thing done, for the user
  // Set when a journal was found that cannot be followed safely, or whose
  // steps did not all succeed: what is wrong and what to remove. The
  // journal is then still there, and no save may go into the folder.
  std::optional<std::string> onveilig;
};

// Finishes or undoes what an interrupted save left in 'map' (the caller
// holds the folder's lock).
Herstel herstel(const std::filesystem::path& map);

// The reason for a failed system call 'fout' (an errno value), in words the
// user can act on.
std::string redenVan(int fout);

struct Fout {
  std::filesystem::path pad;
  std::string reden;
};

// A step with the paths its names stand for.
struct Uitvoerstap {
  Stap::Soort soort = Stap::Soort::Plaats;
  std::filesystem::path tijdelijk, reserve, doel;
};

// One save. Steps are added, then the journal is started, the temporary
// files are written, the save is committed and carried out. Destroyed
// before it was carried out, it undoes everything (also on an exception).
class Transactie {
 public:
  explicit Transactie(std::filesystem::path map) : map_(std::move(map)) {}
  ~Transactie();
  Transactie(const Transactie&) = delete;
  Transactie& operator=(const Transactie&) = delete;

  // Returns the step's number.
  std::size_t plaats(const Doel& doel);
  void verwijder(const Doel& doel);

  bool begin(Fout& fout);
  // The temporary file of step 'i', created now; nullptr on failure.
  std::FILE* open(std::size_t i, Fout& fout);
  // Pushes it to the disk and closes it.
  bool sluit(std::size_t i, Fout& fout);
  // Keeps the files replaced under a second name and commits.
  bool legVast(Fout& fout);
  // Renames and removes; on a failure everything is put back as it was.
  bool voerUit(Fout& fout);

 private:
  bool schrijfJournaal(Staat staat, Fout& fout);

  std::filesystem::path map_;
  std::vector<Stap> stappen_;       // as the journal has them
  std::vector<Uitvoerstap> paden_;  // the same, as paths to work with
  std::vector<std::optional<std::filesystem::perms>> modi_;
  std::vector<std::FILE*> open_;
  bool begonnen_ = false;
  bool vastgelegd_ = false;
  bool klaar_ = false;
};

}  // namespace zarvo::opslag
