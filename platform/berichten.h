// Message boxes and "end the program at once" behind one interface, so that
// tests can replace both with a recording fake.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "basis/meldingen.h"

namespace zarvo::gui {

enum class Knoppen { OK, JaNee, OKToonAlle };
enum class Antwoord { OK, Ja, Nee, ToonAlle };

class BerichtenDienst {
 public:
  virtual ~BerichtenDienst() = default;
  virtual Antwoord toon(const QString& tekst, const QString& titel, Icoon icoon, Knoppen knoppen) = 0;
  // One message of a series (one per double point, one per failing
  // profile): as toon() with OK, plus the check box "Niet meer tonen voor
  // dit bestand", whose state comes back in 'nietMeerTonen'.
  virtual void toonInReeks(const QString& tekst, const QString& titel, Icoon icoon, bool& nietMeerTonen) {
    toon(tekst, titel, icoon, Knoppen::OK);
    nietMeerTonen = false;
  }
  // A question whose buttons say what they do: 'knoppen' are their texts
  // from left to right ('&' before the access key). Returns the index of
  // the one chosen. 'terug' is the cautious one: Enter, Escape and closing
  // the box choose it. A service without boxes of its own shows the text
  // and takes that one.
  virtual int kies(const QString& tekst, const QString& titel, Icoon icoon, const QStringList& /*knoppen*/, int terug) {
    toon(tekst, titel, icoon, Knoppen::OK);
    return terug;
  }
  // Messages to read at leisure: a list whose text can be selected and
  // copied.
  virtual void toonLijst(const QString& titel, const QString& tekst) { toon(tekst, titel, Icoon::Geen, Knoppen::OK); }
  // Ends the program without saving anything. The production service does
  // not return; a test fake records the call and returns, so every caller
  // must return straight after calling it.
  virtual void beeindigProgramma() = 0;
};

// The active service (the production one unless a test installed another).
BerichtenDienst& berichten();
// Installs a service; nullptr restores the production one.
void zetBerichtenDienst(BerichtenDienst* dienst);

// Shorthands.
Antwoord toonBericht(const QString& tekst, const QString& titel, Icoon icoon,
                     Knoppen knoppen = Knoppen::OK);
void toonMelding(const Melding& melding);  // OK button; core texts are UTF-8
int kiesBericht(const QString& tekst, const QString& titel, Icoon icoon, const QStringList& knoppen, int terug);

// "Opgeslagen als <pad>." in a box titled "Bestand opgeslagen": a file the
// user chose in a file dialog is written, and this is where.
void meldOpgeslagen(const QString& pad);

// The stop question of every screen: 'vraag' in a Yes/No box titled
// "Let op!" without icon; true on Yes. The screen then says it stopped and
// the screen order ends the program without saving anything.
bool vraagStoppen(const QString& vraag);

// The two texts the screens ask it with.
inline QString stopVraag() { return QStringLiteral("Weet u zeker dat u wilt stoppen?"); }
inline QString stopVraagNietOpgeslagen() {
  return QStringLiteral("Weet u zeker dat u wilt stoppen? Wijzigingen worden niet opgeslagen!");
}

// Shows the core's messages through the active service.
class BerichtenSink : public MeldingSink {
 public:
  void meld(const Melding& melding) override { toonMelding(melding); }
};

// The messages of one long step (reading a file, building every ditch):
// each is shown in its own box, until the user ticks "Niet meer tonen" for
// messages of that title; from then on they are only collected. sluitAf()
// says how many were not shown and offers them all in a list. Once a
// signal asks the program to stop, nothing more is shown.
class MeldingenReeks : public MeldingSink {
 public:
  // 'bestand' is the file the messages are about: what the user silenced
  // for it stays silenced for the rest of the run.
  explicit MeldingenReeks(const std::string& bestand);
  void meld(const Melding& melding) override;
  void sluitAf();

 private:
  std::vector<std::string>& stilleTitels_;
  std::vector<Melding> nietGetoond_;
};

// Forgets every "Niet meer tonen" of the run (for tests that start afresh).
void vergeetStilleMeldingen();

// Shows the hourglass pointer while it lives.
class Zandloper {
 public:
  Zandloper();
  ~Zandloper();
  Zandloper(const Zandloper&) = delete;
  Zandloper& operator=(const Zandloper&) = delete;
};

}  // namespace zarvo::gui
