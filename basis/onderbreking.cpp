#include "basis/onderbreking.h"

#include <csignal>

#ifndef _WIN32
#include <signal.h>
#endif

namespace zarvo {

namespace {

volatile std::sig_atomic_t ontvangen = 0;

extern "C" void noteerSignaal(int signaal) {
  // The first signal counts; a second Ctrl-C does not change the answer.
  if (ontvangen == 0) ontvangen = signaal;
}

}  // namespace

void negeerGebrokenPijp() {
#ifdef SIGPIPE
  std::signal(SIGPIPE, SIG_IGN);
#endif
}

void vangOnderbrekingen() {
  static bool geinstalleerd = false;
  if (geinstalleerd) return;
  geinstalleerd = true;
  negeerGebrokenPijp();
#ifdef _WIN32
  std::signal(SIGINT, noteerSignaal);
  std::signal(SIGTERM, noteerSignaal);
#else
  // Without SA_RESTART: a write blocked on a full pipe returns, so that a
  // stopped reader on stdout cannot keep the program from stopping.
  struct sigaction actie {};
  actie.sa_handler = noteerSignaal;
  sigemptyset(&actie.sa_mask);
  actie.sa_flags = 0;
  // SIGXFSZ (a file size limit, ulimit -f) would kill the program halfway
  // through a write; noted instead, the write fails with EFBIG and the save
  // is undone like any other.
  for (int signaal : {SIGINT, SIGTERM, SIGHUP, SIGXFSZ}) sigaction(signaal, &actie, nullptr);
#endif
}

int onderbrekingSignaal() { return ontvangen; }

std::string signaalNaam(int signaal) {
  switch (signaal) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
#ifdef SIGHUP
    case SIGHUP: return "SIGHUP";
#endif
#ifdef SIGXFSZ
    case SIGXFSZ: return "SIGXFSZ";
#endif
    default: return "signaal " + std::to_string(signaal);
  }
}

int afsluitcodeVoorSignaal(int signaal) { return 128 + signaal; }

}  // namespace zarvo
