// Number rounding, parsing and the fixed text forms the files and labels use.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "basis/profielstore.h"

namespace zarvo {

// Rounds to 3 decimals; an exact tie (judged on the double's exact binary
// value, not on its decimal spelling) goes to the even third decimal.
// 0.0625 -> 0.062, 0.1875 -> 0.188, 2.0005 -> 2.001 (that double lies above
// the tie), 1.0005 -> 1.0 (below it).
double rondAf3(double x);

// The default number-to-text conversion: at most 15 significant digits,
// trailing zeros and a trailing separator dropped, "-0" written as "0",
// exponent form ("1E+15", "1.5E-05") for |x| >= 1e15 or 0 < |x| < 1e-4.
// 't' without the blanks and TABs around it.
std::string_view trimBlanks(std::string_view t);

std::string getalNaarTekst(double x, char decimaalteken = '.');

// Room schrijfGetal needs: the longest text getalNaarTekst gives is 22
// bytes ("-1.23456789012346E+308").
inline constexpr std::size_t kMaxGetalTekst = 32;

// Writes getalNaarTekst(x, decimaalteken) at 'p', which must have room for
// kMaxGetalTekst bytes, and returns the end. The numbers the store nearly
// always holds (three decimals at most) take a fast road.
char* schrijfGetal(char* p, double x, char decimaalteken);

// That fast road alone: when x is an exact multiple of 1/1000 below 1e12 in
// size, writes its default text at 'p' (room for kMaxGetalTekst bytes) and
// returns the end; else writes nothing and returns nullptr.
char* schrijfDuizendsten(char* p, double x, char decimaalteken);

// Appends getalNaarTekst(x, decimaalteken) to 'uit', as schrijfGetal.
void voegGetalToe(std::string& uit, double x, char decimaalteken);

// The "###0.00" format: at least one integer digit, exactly two decimals,
// no thousands separator.
std::string formaat00(double x, char decimaalteken = '.');

// Reads a whole field as a number with '.' as decimal point (sign and
// exponent allowed, no blanks, no thousands separators). Only finite
// values; nullopt for anything else.
std::optional<double> leesGetalPunt(std::string_view tekst);

// rondAf3(*leesGetalPunt(tekst)), with a fast road for the common case of
// at most three decimals: the coordinates of the readers.
std::optional<double> leesGetalAfgerond(std::string_view tekst);

// Reads a number from a ditch-file field: ',' or '.' as decimal separator,
// surrounding blanks ignored. nullopt when it is not a finite number.
std::optional<double> leesGetalSloot(std::string_view tekst);

// A point "has code K" when one of its fields is the number K, or a text
// that reads completely (after trimming blanks) as the number K. The
// construction and both drawings use this one test.
// Inline for the common number: the construction asks this of every point
// several times.
bool tekstIsCode(const Cel& cel, double code);
inline bool celIsCode(const Cel& cel, double code) {
  if (cel.isGetal()) return cel.getal() == code;
  return cel.isTekst() && tekstIsCode(cel, code);
}
inline bool heeftCode(const Punt& p, double code) {
  return celIsCode(p.veld1, code) || celIsCode(p.veld2, code);
}

// Text form of a cell as the result file writes it: numbers through the
// default conversion, texts byte for byte, Empty as nothing.
std::string celNaarTekst(const Cel& cel, char decimaalteken = '.');

}  // namespace zarvo
