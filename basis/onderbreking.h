// Stopping by signal. Ctrl-C, SIGTERM (a shutdown, a job scheduler),
// SIGHUP (a closed terminal) and SIGXFSZ (a file grown past the limit set
// with ulimit -f) must not leave a save half done: the handlers
// only note the signal, and the long steps look at the note at points where
// stopping is safe. A broken pipe on stdout is not a reason to stop a save
// either: SIGPIPE is ignored and the failed write is seen as an error.
#pragma once

#include <exception>
#include <string>

namespace zarvo {

// Installs the handlers (once; later calls do nothing) and ignores SIGPIPE.
// Without it the signals keep their default effect and onderbrekingSignaal()
// stays 0.
void vangOnderbrekingen();

// Only ignores SIGPIPE, for programs that stop on the other signals as usual.
void negeerGebrokenPijp();

// The signal that asked the program to stop, 0 when none did.
int onderbrekingSignaal();

// "SIGINT", "SIGTERM", "SIGHUP", "SIGXFSZ" or "signaal <n>".
std::string signaalNaam(int signaal);

// Exit code of a program stopped by 'signaal': 128 + its number, as a shell
// reports it (130 for Ctrl-C, 143 for SIGTERM).
int afsluitcodeVoorSignaal(int signaal);

// Thrown from a progress callback when a signal came in while reading.
class Onderbroken : public std::exception {
 public:
  const char* what() const noexcept override { return "onderbroken door een signaal"; }
};

}  // namespace zarvo
