#include "taak/taak.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "input/leesbestandsloot.h"
#include "input/leesoppervlaktelijnen.h"
#include "input/leesslootkanten.h"
#include "output/slootkanten.h"
#include "basis/getallen.h"
#include "basis/bestandspad.h"

namespace zarvo {

Melding meldingGeenProfielenMeer() {
  return {"Fout!", "Er zijn geen profielen meer over. Verdere uitvoering Zarvo-Edit niet mogelijk", Icoon::Kritiek};
}

void Taak::zetBestanden(std::string profielbestand, std::string slootbestand) {
  ProfielStore vers;
  vers.inputbestand = std::move(profielbestand);
  vers.bestandSloot = std::move(slootbestand);
  store_ = std::move(vers);
  verwijderd_.clear();
  leeswaarschuwingen_.clear();
  naamwaarschuwing_.reset();
  slootVariabelen_ = SlootVariabelen{};
  statussen_.clear();
  bouwfeiten_.clear();
  voorBouw_.reset();
  gebouwd_ = false;
}

namespace {

// Messages quote names and lines from the files, which may hold anything.
Melding toonbaar(Melding m) {
  m.tekst = toonbareTekst(m.tekst, false);
  return m;
}

class ToonbareSink : public MeldingSink {
 public:
  explicit ToonbareSink(MeldingSink& doel) : doel_(doel) {}
  void meld(const Melding& melding) override { doel_.meld(toonbaar(melding)); }

 private:
  MeldingSink& doel_;
};

}  // namespace

std::optional<Melding> Taak::leesIn(MeldingSink& buiten, char decimaalteken, const Voortgang& voortgang) {
  zetBestanden(store_.inputbestand, store_.bestandSloot);
  ToonbareSink sink(buiten);
  // A pipe or a device would block or never end, before any reader could
  // say which file it is; the surface-lines test opens the file too.
  for (const std::string* pad : {&store_.inputbestand, &store_.bestandSloot, &karakteristiekePunten_}) {
    if (pad->empty()) continue;
    if (const auto soort = geenGewoonBestand(padUitUtf8(*pad)); soort && *soort != Bestandssoort::Map) {
      return toonbaar({"Fout!", "Het bestand " + *pad + " is " + soortTekst(*soort) + ", geen gewoon bestand.",
                       Icoon::Kritiek});
    }
  }
  // Whatever fails, the job is left without profiles: never half a job.
  auto mislukt = [this](Melding melding) -> std::optional<Melding> {
    zetBestanden(store_.inputbestand, store_.bestandSloot);
    return melding;
  };
  std::optional<Melding> fout;
  try {
    fout = leesProfielen(sink, decimaalteken, voortgang);
  } catch (...) {
    // Stopped through the progress callback (LezenAfgebroken) or out of
    // memory: nothing stays loaded, and the caller hears why.
    zetBestanden(store_.inputbestand, store_.bestandSloot);
    throw;
  }
  if (fout) return mislukt(toonbaar(*fout));
  if (store_.aantalProfielen() == 0) {
    return mislukt(toonbaar({"Fout!", "Het bestand " + store_.inputbestand + " bevat geen profielen.", Icoon::Kritiek}));
  }
  std::optional<Melding> ongekoppeld;
  if (auto fout = leesBestandSloot(store_, store_.bestandSloot, slootkoppeling_, &ongekoppeld)) {
    return mislukt(toonbaar(*fout));
  }
  std::int32_t volgnummer = 0;
  for (Profiel& p : store_.profielen) p.volgnummer = ++volgnummer;
  if (ongekoppeld) leeswaarschuwingen_.push_back(toonbaar(std::move(*ongekoppeld)));
  // By position a name that differs is only told; by name none can.
  if (auto waarschuwing = slootkoppeling_ == Slootkoppeling::OpVolgorde ? waarschuwingSlootNamen(store_)
                                                                         : std::nullopt) {
    naamwaarschuwing_ = leeswaarschuwingen_.size();
    leeswaarschuwingen_.push_back(std::move(*waarschuwing));
  }
  return std::nullopt;
}

std::optional<Melding> Taak::koppelOpNaam() {
  if (gebouwd_ || !verwijderd_.empty()) throw std::logic_error("op naam koppelen na verwijderen of bouwen");
  std::optional<Melding> ongekoppeld;
  if (auto fout = leesBestandSloot(store_, store_.bestandSloot, Slootkoppeling::OpNaam, &ongekoppeld)) {
    return toonbaar(*fout);
  }
  slootkoppeling_ = Slootkoppeling::OpNaam;
  // The names agree now; what else the reading found still holds.
  if (naamwaarschuwing_) {
    leeswaarschuwingen_.erase(leeswaarschuwingen_.begin() + static_cast<std::ptrdiff_t>(*naamwaarschuwing_));
    naamwaarschuwing_.reset();
  }
  if (ongekoppeld) leeswaarschuwingen_.push_back(toonbaar(std::move(*ongekoppeld)));
  return std::nullopt;
}

std::optional<Melding> Taak::leesProfielen(MeldingSink& sink, char decimaalteken, const Voortgang& voortgang) {
  const std::string& pad = store_.inputbestand;
  if (!isOppervlaktelijnenBestand(pad)) {
    if (!karakteristiekePunten_.empty()) {
      return Melding{"Fout!",
                     "Het bestand " + pad +
                         " bevat geen oppervlaktelijnen (de eerste regel is geen kop LOCATIONID;X1;Y1;Z1;...), "
                         "dus de karakteristieke punten van " + karakteristiekePunten_ + " horen er niet bij.",
                     Icoon::Kritiek};
    }
    return leesBestand(store_, pad, sink, decimaalteken, voortgang);
  }
  std::string krp = karakteristiekePunten_;
  if (krp.empty()) {
    // Those tools find the characteristic points beside the surface lines;
    // without them the profiles are read with plain codes.
    krp = gevondenKarakteristiekePunten(pad);
  }
  return leesOppervlaktelijnen(store_, pad, krp, sink, decimaalteken, voortgang);
}

std::int32_t Taak::zoekProfiel(std::string_view naam) const {
  for (std::int32_t p = 1; p <= store_.aantalProfielen(); ++p) {
    if (store_.profiel(p).naam == naam) return p;
  }
  return 0;
}

std::optional<Melding> Taak::verwijder(std::int32_t p) {
  if (gebouwd_) throw std::logic_error("verwijderen na het bouwen van de sloten");
  // Profiles put into the store directly (not read) have no place in a
  // file yet; before the first deletion their order is that place.
  if (verwijderd_.empty() && p >= 1 && p <= store_.aantalProfielen() && store_.profiel(p).volgnummer == 0) {
    std::int32_t volgnummer = 0;
    for (Profiel& q : store_.profielen) q.volgnummer = ++volgnummer;
  }
  verwijderd_.push_back(store_.verwijderProfiel(p));
  if (store_.aantalProfielen() == 0) return meldingGeenProfielenMeer();
  return std::nullopt;
}

std::int32_t Taak::zetTerug(std::size_t i) {
  if (gebouwd_) throw std::logic_error("terugzetten na het bouwen van de sloten");
  if (i >= verwijderd_.size()) return 0;
  Profiel profiel = std::move(verwijderd_[i]);
  verwijderd_.erase(verwijderd_.begin() + static_cast<std::ptrdiff_t>(i));
  store_.verwijderdeProfielen.erase(store_.verwijderdeProfielen.begin() + static_cast<std::ptrdiff_t>(i));
  // The remaining profiles are in file order, so their numbers ascend.
  Profielen& profielen = store_.profielen;
  const auto plek = std::upper_bound(profielen.begin(), profielen.end(), profiel.volgnummer,
                                     [](std::int32_t v, const Profiel& q) { return v < q.volgnummer; });
  const auto nieuw = profielen.insert(plek, std::move(profiel));
  return static_cast<std::int32_t>(nieuw - profielen.begin()) + 1;
}

bool Taak::terugVoorBouw() {
  if (!gebouwd_ || !voorBouw_) return false;
  store_ = std::move(*voorBouw_);
  voorBouw_.reset();
  slootVariabelen_ = SlootVariabelen{};
  statussen_.clear();
  bouwfeiten_.clear();
  gebouwd_ = false;
  return true;
}

const Profiel* Taak::profielVoorBouw(std::int32_t p) const {
  const ProfielStore* s = gebouwd_ ? (voorBouw_ ? &*voorBouw_ : nullptr) : &store_;
  if (!s || p < 1 || p > s->aantalProfielen()) return nullptr;
  return &s->profiel(p);
}

std::int32_t Taak::zoekVolgnummer(std::int32_t volgnummer) const {
  // The remaining profiles are in file order, so their numbers ascend.
  const Profielen& profielen = store_.profielen;
  const auto plek = std::lower_bound(profielen.begin(), profielen.end(), volgnummer,
                                     [](const Profiel& q, std::int32_t v) { return q.volgnummer < v; });
  if (plek == profielen.end() || plek->volgnummer != volgnummer) return 0;
  return static_cast<std::int32_t>(plek - profielen.begin()) + 1;
}

std::optional<Melding> Taak::pasSlootkantenToe(const std::string& pad) {
  if (gebouwd_) throw std::logic_error("slootkanten toepassen na het bouwen van de sloten");
  std::vector<SlootkantRegel> regels;
  if (auto fout = leesSlootkanten(pad, regels)) return toonbaar(*fout);
  std::vector<std::pair<std::int32_t, Slootkeuze>> keuzes;
  for (const SlootkantRegel& r : regels) {
    auto fout = [&](const std::string& reden) {
      return toonbaar({"Fout!",
                       "Het slootkantenbestand " + pad + ", regel " + std::to_string(r.regel) + ": " + reden,
                       Icoon::Kritiek});
    };
    const std::int32_t p = zoekProfiel(r.naam);
    if (p == 0) return fout("er is geen profiel " + r.naam + ".");
    const Slootkeuze& k = r.keuze;
    if (!k.geenSloot()) {
      const std::vector<Punt>& punten = store_.profiel(p).punten;
      // Coordinates are compared as the reader rounds them.
      auto klopt = [&](std::int32_t nummer, double x, double y) {
        return nummer >= 1 && static_cast<std::size_t>(nummer) <= punten.size() &&
               rondAf3(x) == punten[static_cast<std::size_t>(nummer - 1)].x &&
               rondAf3(y) == punten[static_cast<std::size_t>(nummer - 1)].y;
      };
      if (!klopt(k.puntDijk, k.xDijk, k.yDijk)) {
        return fout("punt " + std::to_string(k.puntDijk) + " van profiel " + r.naam +
                    " ligt niet op de opgegeven X en Y (dijkzijde).");
      }
      if (!klopt(k.puntPolder, k.xPolder, k.yPolder)) {
        return fout("punt " + std::to_string(k.puntPolder) + " van profiel " + r.naam +
                    " ligt niet op de opgegeven X en Y (polderzijde).");
      }
    }
    keuzes.emplace_back(p, k);
  }
  for (const auto& [p, k] : keuzes) store_.profiel(p).zetSlootkeuze(k);
  return std::nullopt;
}

bool Taak::heeftSlootkeuzes() const { return zarvo::heeftSlootkeuzes(store_); }

SlootStatus Taak::zetSlootkeuze(std::int32_t p, std::optional<Slootkeuze> keuze, MeldingSink& sink) {
  if (p < 1 || p > store_.aantalProfielen()) throw std::out_of_range("geen profiel " + std::to_string(p));
  if (!gebouwd_) {
    store_.profiel(p).zetSlootkeuze(keuze);
    return SlootStatus::GeenSloot;
  }
  if (!voorBouw_) throw std::logic_error("slootkanten kiezen zonder de profielen van voor het bouwen");
  const auto i = static_cast<std::size_t>(p - 1);
  Profiel& bewaard = voorBouw_->profielen[i];
  bewaard.zetSlootkeuze(keuze);
  // The profile alone, built as the whole build builds it.
  ProfielStore een;
  een.profielen.push_back(bewaard);
  een.zetGrenzen(0, 0);
  een.dekGrenzen();
  if (schermgegevensBewaren_) een.initialiseerProfielInfo();
  std::vector<Bouwfeiten> feiten;
  SlootVariabelen var;
  const SlootStatus status =
      bouwSlotenInAlleProfielen(een, var, sink, &feiten, {}, schermgegevensBewaren_).front();
  store_.profielen[i] = std::move(een.profielen.front());
  store_.zetGrenzen(std::max(store_.aantalKolommen(), een.aantalKolommen()),
                    std::max(store_.aantalRijenInfo(), een.aantalRijenInfo()));
  if (i < bouwfeiten_.size()) bouwfeiten_[i] = std::move(feiten.front());
  if (i < statussen_.size()) statussen_[i] = status;
  return status;
}

std::vector<SlootStatus> Taak::bouwSloten(MeldingSink& sink, const Bouwvoortgang& voortgang) {
  // Building twice would put a second ditch into every profile.
  if (gebouwd_) return statussen_;
  if (terugMogelijk_) voorBouw_ = store_;
  if (schermgegevensBewaren_) store_.initialiseerProfielInfo();
  gebouwd_ = true;
  statussen_ = bouwSlotenInAlleProfielen(
      store_, slootVariabelen_, sink, bouwfeitenBewaren_ == Feiten::Geen ? nullptr : &bouwfeiten_, voortgang,
      schermgegevensBewaren_ || bouwfeitenBewaren_ == Feiten::Alles);
  return statussen_;
}

std::string Taak::bestandsnaam() const {
  if (bestandsnaam_) return *bestandsnaam_;
  return utf8UitPad(padUitUtf8(store_.inputbestand).filename());
}

std::string Taak::standaardNaamResultaat(const Resultaatformaat& formaat, std::size_t i) const {
  return formaat.standaardNaam(i, bestandsnaam());
}

std::string Taak::standaardNaamVerwijderd() const { return zarvo::standaardNaamVerwijderd(bestandsnaam()); }

std::vector<std::string> Taak::bestaandeDoelen(const std::string& map, const std::vector<std::string>& namen,
                                               const std::string& naamVerwijderd) const {
  std::vector<std::string> doelen = namen;
  if (store_.aantalVerwijderd() > 0) doelen.push_back(naamVerwijderd);
  if (heeftSlootkeuzes()) doelen.push_back(naamSlootkanten());
  std::vector<std::string> bestaand;
  for (const std::string& naam : doelen) {
    const std::filesystem::path pad = padUitUtf8(map) / padUitUtf8(naam);
    std::error_code ec;
    if (std::filesystem::exists(pad, ec)) bestaand.push_back(utf8UitPad(pad));
  }
  return bestaand;
}

std::optional<Melding> Taak::controleerDoel(const std::string& map, const std::vector<std::string>& namen,
                                           const std::string& naamVerwijderd, std::vector<Melding>* hersteld) const {
  if (auto fout = controleerDoelmap(map, hersteld)) return fout->melding();
  return controleerDoelnamen(map, namen, naamVerwijderd,
                             {store_.inputbestand, store_.bestandSloot, karakteristiekePunten_});
}

std::optional<Melding> Taak::slaOp(const std::string& map, const std::vector<std::string>& namen,
                                   const std::string& naamVerwijderd, char decimaalteken,
                                   const Resultaatformaat& formaat, Opslagverslag* verslag) const {
  // Edges chosen by hand go with the result, so that the batch can build
  // the same profiles again; they are part of the same all-or-nothing save.
  if (heeftSlootkeuzes() && namen.size() == formaat.aantalBestanden()) {
    const MetSlootkanten metSlootkanten(formaat);
    std::vector<std::string> alleNamen = namen;
    alleNamen.push_back(naamSlootkanten());
    return zarvo::slaOp(store_, map, metSlootkanten, alleNamen, naamVerwijderd, decimaalteken, verslag,
                        {karakteristiekePunten_});
  }
  return zarvo::slaOp(store_, map, formaat, namen, naamVerwijderd, decimaalteken, verslag, {karakteristiekePunten_});
}

std::string Taak::naamSlootkanten() const { return standaardNaamSlootkanten(bestandsnaam()); }

namespace {

// profielregels() is one object for every job; the pointer only lends it.
std::shared_ptr<const Resultaatformaat> maakProfielregels(const Taak&) {
  return std::shared_ptr<const Resultaatformaat>(std::shared_ptr<void>(), &profielregels());
}

std::shared_ptr<const Resultaatformaat> maakOppervlaktelijnen(const Taak& taak) {
  return std::make_shared<const Oppervlaktelijnen>(taak.oppervlaktelijnen());
}

constexpr Formaatkeuze formaten[] = {
    {"profielregels", "Profielregels (zoals ingelezen)", maakProfielregels, false},
    {"oppervlaktelijnen", "Oppervlaktelijnen + karakteristieke punten", maakOppervlaktelijnen, true},
};

}  // namespace

std::span<const Formaatkeuze> resultaatformaten() { return formaten; }

const Formaatkeuze* zoekResultaatformaat(std::string_view naam) {
  for (const Formaatkeuze& f : formaten) {
    if (f.naam == naam) return &f;
  }
  return nullptr;
}

}  // namespace zarvo
