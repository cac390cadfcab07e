// Reader of surface lines with their characteristic points, the two files
// the dike-assessment software imports: one profile a line
// ("LOCATIONID;X1;Y1;Z1;X2;Y2;Z2;..."), and per LOCATIONID the named points
// of that profile ("LOCATIONID;X_Maaiveld binnenwaarts;...", -1;-1;-1 for a
// point that is absent).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "input/leesbestand.h"
#include "basis/meldingen.h"
#include "basis/profielstore.h"

namespace zarvo {

// True when the first line is a surface-lines header: X1;Y1;Z1 with one
// column LOCATIONID or PROFIELNAAM before them, and maybe other columns
// (case and surrounding blanks do not matter).
bool isKopOppervlaktelijnen(std::string_view regel);

// True when the file at 'pad' is meant as surface lines: its first line is
// their header, or holds a ';' and no ',' (a surface-lines file with a wrong
// header, which the reader then refuses with a message that says so; a
// profile-lines line always holds commas).
bool isOppervlaktelijnenBestand(const std::string& pad);

// Where those tools look for the characteristic points of 'pad': beside it,
// named as it is without ".csv", plus ".krp.csv".
std::string standaardKarakteristiekePunten(const std::string& pad);
// That file when something is there under its name (what is not a regular
// file the reader refuses with its message), else empty.
std::string gevondenKarakteristiekePunten(const std::string& pad);

// Reads the surface lines at 'pad' and, when 'krpPad' is not empty, their
// characteristic points into 'store' (which should be empty of profiles).
// A point on which a characteristic point lies gets its code in both code
// fields (two codes when two lie on it); other points get 99 and 999. Each
// profile keeps every characteristic point of its row (Profiel::
// karakteristiek); one that lies on no point of its line is left out with a
// warning through 'sink'. The characteristic points' id column is found by
// name (LOCATIONID or PROFIELNAAM) wherever it stands, a Volgnummer column
// is skipped, any other unknown column refused. Coordinates are rounded as
// the profile-lines reader does; a point repeating all three coordinates of
// the one before is dropped as a double point, one with only X and Y the
// same is kept (a vertical segment). On an error nothing is loaded and the
// returned message names the file and the line.
std::optional<Melding> leesOppervlaktelijnen(ProfielStore& store, const std::string& pad,
                                             const std::string& krpPad, MeldingSink& sink,
                                             char decimaalteken = '.', const Voortgang& voortgang = {});

}  // namespace zarvo
