// One job: the road from the two input files to the saved result, as both
// programs walk it. The job owns the profile store; the batch program calls
// its steps in a row, the screens call the same steps one screen at a time.
//
//   leesIn()      reads the profile-lines file and the ditch file
//   verwijder()   deletes a profile (zetTerug() puts one back at its place)
//   bouwSloten()  builds the ditch and the foreland into every profile
//   slaOp()       writes the result file(s) and the deleted-profile list
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ditch/slootprofiel.h"
#include "input/leesbestand.h"
#include "input/leesbestandsloot.h"
#include "output/kaart.h"
#include "output/oppervlaktelijnen.h"
#include "output/opslag.h"
#include "output/resultaatschrijver.h"
#include "basis/meldingen.h"
#include "basis/profielstore.h"

namespace zarvo {

class Taak {
 public:
  ProfielStore& store() { return store_; }
  const ProfielStore& store() const { return store_; }

  // The two input files (full paths). Choosing files forgets what was read.
  void zetBestanden(std::string profielbestand, std::string slootbestand);
  const std::string& profielbestand() const { return store_.inputbestand; }
  const std::string& slootbestand() const { return store_.bestandSloot; }

  // The characteristic points of a surface-lines profile file. Empty (the
  // default) takes "<name without .csv>.krp.csv" beside it when there is
  // one. Choosing the two files keeps this choice.
  void zetKarakteristiekePunten(std::string pad) { karakteristiekePunten_ = std::move(pad); }
  const std::string& karakteristiekePunten() const { return karakteristiekePunten_; }

  // How leesIn() gives the ditch records to the profiles: by position (the
  // default) or by name. Choosing the two files keeps this choice.
  void zetSlootkoppeling(Slootkoppeling koppeling) { slootkoppeling_ = koppeling; }
  Slootkoppeling slootkoppeling() const { return slootkoppeling_; }

  // Reads both files; a profile file that starts with a surface-lines
  // header is read as surface lines. Double points are dropped with a message through
  // 'sink'. On an error nothing is loaded (no profiles, nothing deleted)
  // and the message to show is returned; it names the file and the line.
  // An input that is no regular file (a pipe, a device) is refused before
  // anything is opened. Control characters from the files show escaped in
  // every message. What the progress callback throws, and std::bad_alloc,
  // pass through with nothing loaded.
  std::optional<Melding> leesIn(MeldingSink& sink, char decimaalteken, const Voortgang& voortgang = {});
  bool isIngelezen() const { return store_.aantalProfielen() > 0; }
  // What the last successful leesIn() found doubtful but read anyway
  // ("Let op!"): a ditch file whose record names differ from their
  // profiles' names, or, matched by name, the profiles without a record
  // and the records without a profile. The caller decides whether to go
  // on. Empty after a failed read and whenever files are chosen again.
  const std::vector<Melding>& leeswaarschuwingen() const { return leeswaarschuwingen_; }
  // The warning among leeswaarschuwingen() that records went by position
  // to profiles of other names, for which koppelOpNaam() is the remedy;
  // nullptr when there is none.
  const Melding* slootnaamwaarschuwing() const {
    return naamwaarschuwing_ ? &leeswaarschuwingen_[*naamwaarschuwing_] : nullptr;
  }
  // Reads the ditch file again, matched by name, for a job read by
  // position whose names turned out not to agree; from then on the job is
  // matched by name, and leeswaarschuwingen() hold what found no match. On an error (the
  // file and the line named) the job stays as it was. Only before anything
  // is deleted or built.
  std::optional<Melding> koppelOpNaam();

  // The first remaining profile named exactly 'naam' (1-based), 0 if none.
  std::int32_t zoekProfiel(std::string_view naam) const;
  // Deletes profile 'p' (1-based) and records it in the deleted-profile
  // list. When it was the last one, the returned message says that the job
  // cannot go on. Only before the ditches are built.
  std::optional<Melding> verwijder(std::int32_t p);
  // Puts deleted profile 'i' (0-based, in order of deletion) back where it
  // stood in the file, among the profiles that remain, and takes it off the
  // deleted-profile list. Returns its number (1-based) now, 0 when there is
  // no such deletion. Only before the ditches are built.
  std::int32_t zetTerug(std::size_t i);
  // The deleted profiles themselves, in order of deletion.
  const std::vector<Profiel>& verwijderd() const { return verwijderd_; }

  // Builds the ditch and then the foreland into every profile, in order;
  // one outcome per profile (index 0 = profile 1). A job is built once:
  // later calls give the same outcomes and change nothing.
  // 'voortgang' hears now and then how many profiles are done, on the
  // calling thread.
  std::vector<SlootStatus> bouwSloten(MeldingSink& sink, const Bouwvoortgang& voortgang = {});
  bool isGebouwd() const { return gebouwd_; }
  // The outcomes of the build (index 0 = profile 1); empty before it.
  const std::vector<SlootStatus>& slootStatussen() const { return statussen_; }
  // Going back from the built profiles to the review: with this on, the
  // build keeps the profiles as they were, and terugVoorBouw() restores
  // them (deletions included) so that the review goes on and a new build
  // starts afresh. Off by default: the batch never goes back and should
  // not pay for a copy of every point.
  void zetTerugMogelijk(bool mogelijk) { terugMogelijk_ = mogelijk; }
  // With this on, the build also keeps what only the screens show: the
  // surveyed points each ditch replaced (Bouwfeiten::vervangen) and every
  // profile's selection record (Profiel::profielInfo). Off by default, for
  // the same reason.
  void zetSchermgegevensBewaren(bool bewaren) { schermgegevensBewaren_ = bewaren; }
  // How much of bouwfeiten() the build keeps: nothing (a batch run writing
  // a format that does not use them saves a record a profile), where each
  // ditch lies, or also the ground it replaced and the messages (for the
  // map and CAD exports; the screens keep those anyway). Ligging by default.
  enum class Feiten { Geen, Ligging, Alles };
  void zetBouwfeitenBewaren(Feiten bewaren) { bouwfeitenBewaren_ = bewaren; }
  // What the map and CAD exports draw, for the built job.
  Kaartinhoud kaartinhoud() const { return {statussen_, bouwfeiten_, verwijderd_}; }
  // False when there is nothing to go back to (not built, or not kept).
  bool terugVoorBouw();

  // Chooses the ditch edges of profile 'p' (1-based), or with nullopt lets
  // its codes decide again. Before the build the choice waits for it; after
  // the build (with the profiles kept, see zetTerugMogelijk) profile 'p' is
  // built again from the ground as reviewed, ditch and foreland, with its
  // messages through 'sink'. Either way the choice stays with the profile
  // through "<< Terug". Returns the profile's outcome (GeenSloot before the
  // build).
  SlootStatus zetSlootkeuze(std::int32_t p, std::optional<Slootkeuze> keuze, MeldingSink& sink);
  // Applies the choices file 'pad' (input/leesslootkanten.h) before the
  // build, as the ditch screen's clicks would have: every line must name a
  // remaining profile, and its points must be those numbers with those X
  // and Y in it. On an error (the file and the line named) nothing is
  // applied.
  std::optional<Melding> pasSlootkantenToe(const std::string& pad);
  // Whether any profile has its edges chosen by hand (or its ditch taken
  // away); the save then writes the choices file beside the result.
  bool heeftSlootkeuzes() const;
  // The name of the choices file saved beside the result when there are
  // such choices ("output_slootkanten_<stam>.csv").
  std::string naamSlootkanten() const;
  // Profile 'p' as reviewed, before its ditch was built: the profile itself
  // before the build, the kept copy after it; nullptr when not kept.
  const Profiel* profielVoorBouw(std::int32_t p) const;
  // The remaining profile with this position in the file (1-based), 0 if
  // none: a profile's identity across deletions and putting back.
  std::int32_t zoekVolgnummer(std::int32_t volgnummer) const;
  // What the construction did to each profile (index 0 = profile 1);
  // empty before the build.
  const std::vector<Bouwfeiten>& bouwfeiten() const { return bouwfeiten_; }
  // The surface-lines format for this job's built profiles.
  Oppervlaktelijnen oppervlaktelijnen() const { return Oppervlaktelijnen(bouwfeiten_); }
  // What the construction found in the last profile it handled.
  const SlootVariabelen& slootVariabelen() const { return slootVariabelen_; }

  // The name the default output names end in: the profile-lines file's
  // name, unless the caller chose another.
  std::string bestandsnaam() const;
  void zetBestandsnaam(std::string naam) { bestandsnaam_ = std::move(naam); }
  std::string standaardNaamResultaat(const Resultaatformaat& formaat = profielregels(), std::size_t i = 0) const;
  std::string standaardNaamVerwijderd() const;

  // The files of such a save that exist already (UTF-8 paths), so that
  // the caller can ask or tell before they are replaced.
  std::vector<std::string> bestaandeDoelen(const std::string& map, const std::vector<std::string>& namen,
                                           const std::string& naamVerwijderd) const;
  // Before reading: can 'map' take this job's result under these names?
  // Finishes or undoes what an interrupted save left there first (said in
  // 'hersteld'). A name that is one of the input files is refused.
  std::optional<Melding> controleerDoel(const std::string& map, const std::vector<std::string>& namen,
                                        const std::string& naamVerwijderd, std::vector<Melding>* hersteld) const;

  // Writes the result into 'map' (see slaOp in output/opslag.h);
  // the input files are never overwritten.
  std::optional<Melding> slaOp(const std::string& map, const std::vector<std::string>& namen,
                               const std::string& naamVerwijderd, char decimaalteken,
                               const Resultaatformaat& formaat = profielregels(),
                               Opslagverslag* verslag = nullptr) const;

 private:
  std::optional<Melding> leesProfielen(MeldingSink& sink, char decimaalteken, const Voortgang& voortgang);

  ProfielStore store_;
  // The deleted profiles themselves, parallel to store_.verwijderdeProfielen.
  std::vector<Profiel> verwijderd_;
  std::vector<Melding> leeswaarschuwingen_;
  std::optional<std::size_t> naamwaarschuwing_;  // its index in leeswaarschuwingen_
  Slootkoppeling slootkoppeling_ = Slootkoppeling::OpVolgorde;
  std::optional<std::string> bestandsnaam_;
  SlootVariabelen slootVariabelen_;
  std::vector<SlootStatus> statussen_;
  bool terugMogelijk_ = false;
  bool schermgegevensBewaren_ = false;
  Feiten bouwfeitenBewaren_ = Feiten::Ligging;
  std::optional<ProfielStore> voorBouw_;
  std::vector<Bouwfeiten> bouwfeiten_;
  std::string karakteristiekePunten_;
  bool gebouwd_ = false;
};

// The result formats a job can be saved in, in the order the save screen
// offers them; the first is the default. One entry each: the name the
// batch's --formaat takes, the save screen's label, and how to make the
// writer for a job (a format may refer to the job's construction record,
// so it must not outlive the job).
struct Formaatkeuze {
  std::string_view naam;
  std::string_view label;
  std::shared_ptr<const Resultaatformaat> (*maak)(const Taak& taak);
  // The format writes from what the construction did (bouwfeiten()).
  bool metBouwfeiten;
};
std::span<const Formaatkeuze> resultaatformaten();
// The entry named 'naam', nullptr when there is none.
const Formaatkeuze* zoekResultaatformaat(std::string_view naam);

// Thrown by a progress callback to stop the reading; leesIn() then leaves
// nothing loaded and lets it pass.
class LezenAfgebroken : public std::exception {
 public:
  const char* what() const noexcept override { return "inlezen afgebroken"; }
};

// The message when the last profile has been deleted.
Melding meldingGeenProfielenMeer();

}  // namespace zarvo
