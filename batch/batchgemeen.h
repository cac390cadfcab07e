// What the subcommands of zarvo-batch share: argument splitting, messages on
// stderr, and the decimal separator for numbers in messages.
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "basis/meldingen.h"

namespace zarvo::batch {

// Where the decimal separator comes from when no --decimaalteken is given,
// as the help texts say it (a literal, to be joined with theirs).
#ifdef _WIN32
#define ZARVO_HERKOMST_DECIMAALTEKEN "de landinstellingen van Windows"
#else
#define ZARVO_HERKOMST_DECIMAALTEKEN "LC_ALL, LC_NUMERIC of LANG ('.' als die niet gezet zijn)"
#endif

// Exit codes of every subcommand.
inline constexpr int klaar = 0;
inline constexpr int invoerFout = 1;       // an input file could not be read (message on stderr)
inline constexpr int verkeerdGebruik = 2;  // wrong arguments (usage on stderr)

// Every message box the desktop program would show goes to stderr as
// "<titel>: <tekst>", the lines of the text joined by newlines. Bytes of
// a file's contents or name that are no valid UTF-8, and control
// characters, are shown escaped (\xNN), so that a terminal or a log
// reader gets text.
void meldOpStderr(const Melding& melding);
class StderrSink : public MeldingSink {
 public:
  void meld(const Melding& melding) override { meldOpStderr(melding); }
};

struct Argumenten {
  std::vector<std::string> posities;           // arguments that are no option
  std::map<std::string, std::string> opties;   // "--naam waarde" or "--naam=waarde", without "--"
  bool hulp = false;                           // --help or -h
  std::string fout;                            // non-empty when the arguments are wrong
};

// The command line as UTF-8, the program's name first. On Windows 'argv' is
// in the ANSI code page, which cannot hold most file names, so the wide
// command line is converted instead; there stdout and stderr are also set
// to pass bytes unchanged, so that both systems print the same bytes
// (LF line ends, UTF-8 names).
std::vector<std::string> opdrachtregel(int argc, char** argv);

// Splits the arguments after the subcommand. Only the options named in
// 'metWaarde' (taking a value) and 'vlaggen' (without one) are accepted;
// "--" ends the options.
Argumenten ontleedArgumenten(const std::vector<std::string>& argumenten,
                             std::initializer_list<std::string_view> metWaarde,
                             std::initializer_list<std::string_view> vlaggen = {});

// The decimal separator a locale name ("nl_NL.UTF-8", "de_DE@euro", "C")
// stands for: ',' for the languages that write a decimal comma, '.' for
// the rest.
char decimaalTekenVoorLocale(std::string_view locale);
// On Windows the user's regional settings (',' or '.'; '.' for any other
// separator). Elsewhere from LC_ALL, else LC_NUMERIC, else LANG (the first
// one set and non-empty); '.' when none is set.
char decimaalTekenUitOmgeving();
// The --decimaalteken option ("," or ".") or else the environment's. On a
// wrong value 'fout' gets the message and '\0' is returned.
char kiesDecimaalteken(const Argumenten& argumenten, std::string& fout);

// Writes 'tekst' to stdout and flushes it; false when that failed (a
// closed pipe, a full device). SIGPIPE is ignored by main().
bool schrijfNaarStdout(std::string_view tekst);
// Says on stderr that writing to stdout failed; returns invoerFout.
int stdoutMislukt();

// Writes "zarvo-batch: <fout>" and the usage text to stderr; returns
// verkeerdGebruik.
int gebruiksfout(const std::string& fout, std::string_view gebruik);

// The subcommands, one file each; main.cpp dispatches on the first argument.
int voerLijstUit(const std::vector<std::string>& argumenten);  // lijst.cpp
int voerBouwUit(const std::vector<std::string>& argumenten);   // bouw.cpp

}  // namespace zarvo::batch
