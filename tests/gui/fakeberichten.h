// A message service for screen tests: records every box, answers Yes/No
// questions and questions with buttons of their own from a script, and
// records a program end instead of ending.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "platform/berichten.h"

namespace zarvo::gui {

struct GetoondBericht {
  QString tekst;
  QString titel;
  Icoon icoon;
  Knoppen knoppen;
  QStringList knopteksten = {};  // a question with buttons of its own
};

class FakeBerichten : public BerichtenDienst {
 public:
  FakeBerichten() { zetBerichtenDienst(this); }
  ~FakeBerichten() override { zetBerichtenDienst(nullptr); }

  Antwoord toon(const QString& tekst, const QString& titel, Icoon icoon, Knoppen knoppen) override {
    getoond.push_back({tekst, titel, icoon, knoppen});
    if (knoppen == Knoppen::OK) return Antwoord::OK;
    if (knoppen == Knoppen::OKToonAlle && antwoorden.empty()) return Antwoord::OK;
    if (antwoorden.empty()) {
      ++onverwachteVragen;  // an unscripted question counts as "No"
      return Antwoord::Nee;
    }
    Antwoord a = antwoorden.front();
    antwoorden.pop_front();
    return a;
  }
  int kies(const QString& tekst, const QString& titel, Icoon icoon, const QStringList& knoppen, int terug) override {
    getoond.push_back({tekst, titel, icoon, Knoppen::OK, knoppen});
    if (keuzes.empty()) {
      ++onverwachteVragen;  // unscripted, the cautious button is taken
      return terug;
    }
    const int k = keuzes.front();
    keuzes.pop_front();
    return k;
  }
  void beeindigProgramma() override { ++beeindigd; }
  // Series messages are recorded as OK boxes; the one numbered
  // 'nietMeerTonenBij' (1-based) comes back with the box ticked.
  void toonInReeks(const QString& tekst, const QString& titel, Icoon icoon, bool& nietMeerTonen) override {
    if (bijReeks) bijReeks();
    toon(tekst, titel, icoon, Knoppen::OK);
    nietMeerTonen = ++inReeks == nietMeerTonenBij;
  }
  void toonLijst(const QString& titel, const QString& tekst) override { lijsten.push_back({tekst, titel, Icoon::Geen, Knoppen::OK}); }

  int nietMeerTonenBij = 0;
  std::function<void()> bijReeks;  // runs where a real series box would open
  int inReeks = 0;
  std::vector<GetoondBericht> lijsten;

  std::vector<GetoondBericht> getoond;
  std::deque<Antwoord> antwoorden;  // answers to Yes/No questions, in order
  std::deque<int> keuzes;           // buttons chosen (0-based) in questions of kies()
  int onverwachteVragen = 0;
  int beeindigd = 0;
};

}  // namespace zarvo::gui
