// Messages the core has to show the user. The core never talks to a screen:
// it hands its messages to a sink. The desktop program shows them as message
// boxes, the batch writes them to stderr, tests collect them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zarvo {

enum class Icoon { Geen, Kritiek, Informatie };

struct Melding {
  std::string titel;
  std::string tekst;  // lines joined with '\n'
  Icoon icoon = Icoon::Kritiek;
};

// 'tekst' as it may be shown: NUL and the other control characters but
// newline and TAB become "\xNN" (a NUL would cut a message short, a
// carriage return or an escape sequence would garble a terminal). With
// 'ookOngeldigeUtf8' so do bytes that are no valid UTF-8, for output that
// must be UTF-8 (stderr); the screens show such names as Windows-1252.
std::string toonbareTekst(std::string_view tekst, bool ookOngeldigeUtf8);

class MeldingSink {
 public:
  virtual ~MeldingSink() = default;
  virtual void meld(const Melding& melding) = 0;
};

// Collects messages (tests, and callers that want to show them later).
class MeldingVerzamelaar : public MeldingSink {
 public:
  void meld(const Melding& melding) override { meldingen.push_back(melding); }
  std::vector<Melding> meldingen;
};

// Messages more than one part of the program gives, written once.

// "te weinig geheugen om <bestand> te verwerken"
Melding meldingTeWeinigGeheugen(const std::string& bestand);

// The "Melding" message for a dropped double point of profile 'naam'; every
// profile reader shows this one.
Melding meldingDubbelPunt(const std::string& naam, double vorigeX, double vorigeY, double x, double y,
                          char decimaalteken);

}  // namespace zarvo
