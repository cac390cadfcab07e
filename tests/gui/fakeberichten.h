// A message service for screen tests: records every box, answers Yes/No
// questions from a script, and records a program end instead of ending.
#pragma once

#include <deque>
#include <vector>

#include "platform/berichten.h"

namespace zarvo::gui {

struct GetoondBericht {
  QString tekst;
  QString titel;
  Icoon icoon;
  Knoppen knoppen;
};

class FakeBerichten : public BerichtenDienst {
 public:
  FakeBerichten() { zetBerichtenDienst(this); }
  ~FakeBerichten() override { zetBerichtenDienst(nullptr); }

  Antwoord toon(const QString& tekst, const QString& titel, Icoon icoon, Knoppen knoppen) override {
    getoond.push_back({tekst, titel, icoon, knoppen});
    if (knoppen == Knoppen::OK) return Antwoord::OK;
    if (antwoorden.empty()) {
      ++onverwachteVragen;  // an unscripted question counts as "No"
      return Antwoord::Nee;
    }
    Antwoord a = antwoorden.front();
    antwoorden.pop_front();
    return a;
  }
  void beeindigProgramma() override { ++beeindigd; }

  std::vector<GetoondBericht> getoond;
  std::deque<Antwoord> antwoorden;  // answers to Yes/No questions, in order
  int onverwachteVragen = 0;
  int beeindigd = 0;
};

}  // namespace zarvo::gui
