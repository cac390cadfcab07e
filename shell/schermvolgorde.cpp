#include "shell/schermvolgorde.h"

#include <QApplication>
#include <QEventLoopLocker>
#include <QFileInfo>
#include <new>
#include <type_traits>

#include "schermen/frmpl.h"
#include "schermen/frmpuntcodes.h"
#include "schermen/frminput.h"
#include "schermen/frmladen.h"
#include "schermen/frmopslaan.h"
#include "platform/berichten.h"
#include "platform/regionaal.h"
#include "schermen/frmgraphicview.h"
#include "schermen/frmsplashscreen.h"

namespace zarvo::gui {

// Deleting one profile from the review: undone by putting it back at its
// place with everything it carries, redone by deleting it again.
class VerwijderOpdracht : public QUndoCommand {
 public:
  VerwijderOpdracht(Schermvolgorde& volgorde, std::int32_t profiel)
      : volgorde_(volgorde), profiel_(profiel) {
    setText(QStringLiteral("Verwijderen van ") +
            tekstUitBestand(volgorde.taak().store().profiel(profiel).naam));
  }
  void redo() override {
    if (const auto melding = volgorde_.taak_.verwijder(profiel_)) {
      volgorde_.mislukt(*melding);
      return;
    }
    // The same number now shows the profile that followed.
    volgorde_.toonInReview(profiel_);
  }
  void undo() override {
    // Deletions are undone last first, so this one is the last on the list.
    const ProfielStore& s = volgorde_.taak_.store();
    volgorde_.toonInReview(volgorde_.taak_.zetTerug(static_cast<std::size_t>(s.aantalVerwijderd() - 1)));
  }

 private:
  Schermvolgorde& volgorde_;
  std::int32_t profiel_;
};

// Choosing the ditch edges of one profile on the ditch screen (or taking
// them back to its codes, or to no ditch). The profile is named by its
// place in the file, which stays its own through deletions and putting
// back; undone, it gets the choice it had before.
class SlootkeuzeOpdracht : public QUndoCommand {
 public:
  SlootkeuzeOpdracht(Schermvolgorde& volgorde, std::int32_t profiel, std::optional<Slootkeuze> keuze)
      : volgorde_(volgorde), keuze_(keuze) {
    const Profiel& p = volgorde.taak().store().profiel(profiel);
    volgnummer_ = p.volgnummer;
    profiel_ = profiel;
    if (const Profiel* voor = volgorde.taak().profielVoorBouw(profiel)) vorige_ = voor->slootkeuze();
    setText((keuze && keuze->geenSloot() ? QStringLiteral("Sloot weghalen uit ") : QStringLiteral("Slootkanten kiezen in ")) +
            tekstUitBestand(p.naam));
  }
  int id() const override { return FrmPL::slootkeuzeOpdrachtId; }
  void redo() override { zet(keuze_); }
  void undo() override { zet(vorige_); }

 private:
  void zet(const std::optional<Slootkeuze>& keuze) {
    Taak& taak = volgorde_.taak_;
    const std::int32_t p = volgnummer_ > 0 ? taak.zoekVolgnummer(volgnummer_) : profiel_;
    if (p < 1) return;
    MeldingenReeks meldingen(taak.profielbestand());
    taak.zetSlootkeuze(p, keuze, meldingen);
    meldingen.sluitAf();
    if (FrmPL* pl = volgorde_.open<FrmPL>()) pl->toonNaSlootkeuze(p);
  }

  Schermvolgorde& volgorde_;
  std::optional<Slootkeuze> keuze_;
  std::optional<Slootkeuze> vorige_;
  std::int32_t volgnummer_ = 0;
  std::int32_t profiel_ = 0;
};

Schermvolgorde::Schermvolgorde(Taak& taak, QObject* ouder) : QObject(ouder), taak_(taak) {}

Schermvolgorde::~Schermvolgorde() { sluitAlles(); }

template <class F>
F& Schermvolgorde::scherm() {
  if (F* bestaand = open<F>()) return *bestaand;
  F* nieuw;
  if constexpr (std::is_constructible_v<F, Taak&>) {
    nieuw = new F(taak_);
  } else {
    nieuw = new F();
  }
  voegToe(std::type_index(typeid(F)), nieuw);
  verbind(*nieuw);
  return *nieuw;
}

template FrmSplashScreen& Schermvolgorde::scherm<FrmSplashScreen>();
template FrmInput& Schermvolgorde::scherm<FrmInput>();
template FrmLaden& Schermvolgorde::scherm<FrmLaden>();
template FrmGraphicView& Schermvolgorde::scherm<FrmGraphicView>();
template FrmPL& Schermvolgorde::scherm<FrmPL>();
template FrmPuntCodes& Schermvolgorde::scherm<FrmPuntCodes>();
template FrmOpslaan& Schermvolgorde::scherm<FrmOpslaan>();

void Schermvolgorde::voegToe(std::type_index type, QWidget* scherm) { schermen_[type] = scherm; }

void Schermvolgorde::sluit(std::type_index type) {
  const auto gevonden = schermen_.find(type);
  if (gevonden == schermen_.end()) return;
  QPointer<QWidget> scherm = gevonden->second;
  schermen_.erase(gevonden);
  if (!scherm) return;
  scherm->hide();
  // Later, not now: the screen may be inside one of its own handlers.
  scherm->deleteLater();
}

void Schermvolgorde::sluitAlles() {
  for (auto& [type, scherm] : schermen_) delete scherm.data();
  schermen_.clear();
  ongedaan_.clear();
}

QStringList Schermvolgorde::kiesVooraf(const QString& profielbestand, const QString& slootbestand) {
  QStringList waarschuwingen;
  std::string profiel = taak_.profielbestand();
  std::string sloot = taak_.slootbestand();
  // A file not given, or not found, leaves the choice as it was.
  auto neem = [&](const QString& pad, std::string& doel) {
    if (pad.isEmpty()) return;
    const QFileInfo info(pad);
    if (!info.isFile()) {
      waarschuwingen << QStringLiteral("Bestand niet gevonden: %1").arg(pad);
      return;
    }
    doel = info.absoluteFilePath().toStdString();
  };
  neem(profielbestand, profiel);
  neem(slootbestand, sloot);
  taak_.zetBestanden(std::move(profiel), std::move(sloot));
  nietGevonden_ = waarschuwingen;
  return waarschuwingen;
}

QStringList Schermvolgorde::kiesVooraf(const QStringList& bestanden) {
  QStringList waarschuwingen = kiesVooraf(bestanden.value(0), bestanden.value(1));
  if (bestanden.size() > 2) {
    waarschuwingen << QStringLiteral("Er kunnen twee bestanden tegelijk worden gekozen (profielbestand en "
                                     "slootbestand); niet gebruikt: %1")
                          .arg(bestanden.mid(2).join(QStringLiteral(", ")));
    nietGevonden_ = waarschuwingen;
  }
  return waarschuwingen;
}

void Schermvolgorde::start() { scherm<FrmSplashScreen>().show(); }

void Schermvolgorde::naarInvoer() {
  FrmInput& invoer = scherm<FrmInput>();
  invoer.show();
  invoer.activateWindow();
  sluit<FrmSplashScreen>();
  // A file named on the command line that is not there must not just be
  // left out: the user would think it was chosen.
  if (!nietGevonden_.isEmpty()) {
    toonBericht(nietGevonden_.join(QLatin1Char('\n')), QStringLiteral("Let op!"), Icoon::Informatie);
    nietGevonden_.clear();
  }
}

bool Schermvolgorde::leesIn() {
  QPointer<FrmLaden> laden = &scherm<FrmLaden>();
  laden->show();
  laden->raise();
  // Paint the notice before the reading blocks the event loop.
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

  std::optional<Melding> fout;
  MeldingenReeks meldingen(taak_.profielbestand());
  bool afgebroken = false;
  {
    Zandloper zandloper;
    try {
      fout = taak_.leesIn(meldingen, decimaalteken(), [laden](std::uint64_t gelezen, std::uint64_t totaal) {
        if (!laden) return;
        laden->zetVoortgang(gelezen, totaal);
        if (laden->isAfgebroken()) throw LezenAfgebroken();
      });
    } catch (const LezenAfgebroken&) {
      afgebroken = true;
    } catch (const std::bad_alloc&) {
      // The job is empty again; the user may choose a smaller file.
      fout = meldingTeWeinigGeheugen(taak_.profielbestand());
    }
  }
  sluit<FrmLaden>();
  meldingen.sluitAf();
  // The user stopped it: back on the input screen, nothing loaded, no box.
  if (afgebroken) return false;
  if (fout) {
    // Back on the input screen with the choice kept: say so, as the first
    // line of a ditch-file error still speaks of restarting.
    fout->tekst += "\nKies de bestanden opnieuw.";
    toonMelding(*fout);
    return false;
  }
  // Back to the input screen, nothing loaded, the choice kept.
  auto terugNaarInvoer = [this] {
    taak_.zetBestanden(taak_.profielbestand(), taak_.slootbestand());
    return false;
  };
  bool opNaamGekoppeld = false;
  for (const Melding& waarschuwing : taak_.leeswaarschuwingen()) {
    if (&waarschuwing != taak_.slootnaamwaarschuwing()) {
      const QString vraag = QString::fromStdString(waarschuwing.tekst) + QStringLiteral("\n\nToch doorgaan?");
      if (toonBericht(vraag, QString::fromStdString(waarschuwing.titel), Icoon::Informatie, Knoppen::JaNee) !=
          Antwoord::Ja) {
        return terugNaarInvoer();
      }
      continue;
    }
    // Records that only stand in another order than the profiles are set
    // right by their names; the engineer sees the pairs and chooses.
    enum { OpVolgorde, OpNaam, Terug };
    const QString vraag = QString::fromStdString(waarschuwing.tekst) +
                          QStringLiteral("\n\nToch doorgaan met de records op volgorde, of de records op naam aan de "
                                         "profielen koppelen?");
    const int keuze = kiesBericht(vraag, QString::fromStdString(waarschuwing.titel), Icoon::Informatie,
                                  {QStringLiteral("Ja, op &volgorde"), QStringLiteral("&Koppel op naam"),
                                   QStringLiteral("&Nee")},
                                  Terug);
    if (keuze == OpNaam) {
      opNaamGekoppeld = true;
      break;
    }
    if (keuze != OpVolgorde) return terugNaarInvoer();
  }
  if (opNaamGekoppeld) {
    std::optional<Melding> fout;
    {
      Zandloper zandloper;
      fout = taak_.koppelOpNaam();
    }
    if (fout) {
      fout->tekst += "\nKies de bestanden opnieuw.";
      toonMelding(*fout);
      return terugNaarInvoer();
    }
    // What found no match is told, not asked: the engineer chose this.
    for (const Melding& melding : taak_.leeswaarschuwingen()) toonMelding(melding);
  }
  ongedaan_.clear();
  FrmGraphicView& review = scherm<FrmGraphicView>();
  review.begin();
  review.show();
  sluit<FrmInput>();
  return true;
}

void Schermvolgorde::toonInReview(std::int32_t profiel) {
  if (FrmGraphicView* review = open<FrmGraphicView>()) review->toonNaWijziging(profiel);
}

void Schermvolgorde::terugNaarReview() {
  FrmPL* pl = open<FrmPL>();
  const std::int32_t profiel = pl ? pl->huidigProfiel() : 1;
  sluit<FrmPuntCodes>();
  sluit<FrmPL>();
  taak_.terugVoorBouw();
  FrmGraphicView& review = scherm<FrmGraphicView>();
  review.begin();
  review.toonNaWijziging(profiel);
  review.show();
}

void Schermvolgorde::naarSloot() {
  // Between the review and the ditch screen no screen is open: a box or
  // the progress dialog that closes while the ditches are built is then
  // the last window, and the program would quit as soon as its event loop
  // came round, the review's work lost. Held until a screen shows again.
  const QEventLoopLocker blijfOpen;
  // Keep the profiles as reviewed, so that "<< Terug" can return to them.
  taak_.zetTerugMogelijk(true);
  sluit<FrmGraphicView>();
  FrmPL& pl = scherm<FrmPL>();
  try {
    pl.laad();
  } catch (const std::bad_alloc&) {
    // The construction stopped halfway; the profiles as reviewed were kept
    // aside before it began (or never touched), so the review's work is
    // not lost: back there, as "<< Terug" would go.
    sluit<FrmPL>();
    taak_.terugVoorBouw();
    toonMelding(meldingTeWeinigGeheugen(taak_.profielbestand()));
    FrmGraphicView& review = scherm<FrmGraphicView>();
    review.begin();
    review.show();
    return;
  }
  pl.show();
}

void Schermvolgorde::naarOpslaan() {
  // The ditch screen is hidden, not closed: "<< Terug" on the save screen
  // finds it as it was left (profile, zoom, levels), with nothing rebuilt.
  sluit<FrmPuntCodes>();
  scherm<FrmOpslaan>().show();
  if (FrmPL* pl = open<FrmPL>()) pl->hide();
}

void Schermvolgorde::terugNaarSloot() {
  FrmPL* pl = open<FrmPL>();
  if (!pl) return;
  pl->show();
  sluit<FrmOpslaan>();
}

void Schermvolgorde::toonLegenda() {
  // Application-modal without a nested event loop: the legend blocks the
  // ditch screen until "Sluit venster", and nothing here waits for it.
  FrmPuntCodes& legenda = scherm<FrmPuntCodes>();
  legenda.setWindowModality(Qt::ApplicationModal);
  legenda.show();
  legenda.raise();
  legenda.activateWindow();
}

void Schermvolgorde::stop() { berichten().beeindigProgramma(); }

void Schermvolgorde::mislukt(const Melding& melding) {
  toonMelding(melding);
  berichten().beeindigProgramma();
}

void Schermvolgorde::verbind(FrmSplashScreen& scherm) {
  connect(&scherm, &FrmSplashScreen::klaar, this, &Schermvolgorde::naarInvoer);
}

void Schermvolgorde::verbind(FrmInput& scherm) {
  connect(&scherm, &FrmInput::bestandenGekozen, this, &Schermvolgorde::leesIn);
  connect(&scherm, &FrmInput::gestopt, this, &Schermvolgorde::stop);
}

void Schermvolgorde::verbind(FrmLaden&) {}

void Schermvolgorde::verbind(FrmGraphicView& scherm) {
  connect(&scherm, &FrmGraphicView::klaar, this, &Schermvolgorde::naarSloot);
  connect(&scherm, &FrmGraphicView::verwijderGevraagd, this,
          [this](std::int32_t profiel) { ongedaan_.push(new VerwijderOpdracht(*this, profiel)); });
  scherm.zetOngedaanStapel(&ongedaan_);
  connect(&scherm, &FrmGraphicView::gestopt, this, &Schermvolgorde::stop);
  connect(&scherm, &FrmGraphicView::mislukt, this, &Schermvolgorde::mislukt);
}

void Schermvolgorde::verbind(FrmPL& scherm) {
  connect(&scherm, &FrmPL::klaar, this, &Schermvolgorde::naarOpslaan);
  connect(&scherm, &FrmPL::terug, this, &Schermvolgorde::terugNaarReview);
  connect(&scherm, &FrmPL::legendaGevraagd, this, &Schermvolgorde::toonLegenda);
  connect(&scherm, &FrmPL::gestopt, this, &Schermvolgorde::stop);
  connect(&scherm, &FrmPL::slootkeuzeGevraagd, this, [this](std::int32_t profiel, std::optional<Slootkeuze> keuze) {
    ongedaan_.push(new SlootkeuzeOpdracht(*this, profiel, keuze));
  });
  scherm.zetOngedaanStapel(&ongedaan_);
}

void Schermvolgorde::verbind(FrmPuntCodes& scherm) {
  connect(&scherm, &FrmPuntCodes::klaar, this, &Schermvolgorde::sluit<FrmPuntCodes>);
}

void Schermvolgorde::verbind(FrmOpslaan& scherm) {
  connect(&scherm, &FrmOpslaan::gestopt, this, &Schermvolgorde::stop);
  connect(&scherm, &FrmOpslaan::terug, this, &Schermvolgorde::terugNaarSloot);
}

}  // namespace zarvo::gui
