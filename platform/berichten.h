// Message boxes and "end the program at once" behind one interface, so that
// tests can replace both with a recording fake.
#pragma once

#include <QString>

#include "shell/meldingen.h"

namespace zarvo::gui {

enum class Knoppen { OK, JaNee };
enum class Antwoord { OK, Ja, Nee };

class BerichtenDienst {
 public:
  virtual ~BerichtenDienst() = default;
  virtual Antwoord toon(const QString& tekst, const QString& titel, Icoon icoon, Knoppen knoppen) = 0;
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

// Shows the hourglass pointer while it lives.
class Zandloper {
 public:
  Zandloper();
  ~Zandloper();
  Zandloper(const Zandloper&) = delete;
  Zandloper& operator=(const Zandloper&) = delete;
};

}  // namespace zarvo::gui
