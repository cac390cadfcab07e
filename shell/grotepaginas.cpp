#include "shell/grotepaginas.h"

#include <cstdlib>
#include <cstring>
#include <string>

#if defined(__linux__) && defined(__GLIBC__)
#include <unistd.h>
#define ZARVO_GROTE_PAGINAS 1
#endif

#if defined(__SANITIZE_ADDRESS__)
#undef ZARVO_GROTE_PAGINAS
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#undef ZARVO_GROTE_PAGINAS
#endif
#endif

namespace zarvo {

void vraagGrotePaginas(char** argv) {
#ifdef ZARVO_GROTE_PAGINAS
  static constexpr const char* wens = "glibc.malloc.hugetlb";
  // A second variable guards against restarting in a loop, should the
  // library ignore or rewrite the wish.
  static constexpr const char* bewaker = "ZARVO_HERSTART";
  if (std::getenv(bewaker) != nullptr) {
    unsetenv(bewaker);  // not for programs this one starts
    return;
  }
  const char* tunables = std::getenv("GLIBC_TUNABLES");
  if (tunables != nullptr && std::strstr(tunables, wens) != nullptr) return;
  std::string nieuw = tunables != nullptr && *tunables != '\0' ? std::string(tunables) + ":" : std::string();
  nieuw += std::string(wens) + "=1";
  if (setenv("GLIBC_TUNABLES", nieuw.c_str(), 1) != 0) return;
  if (setenv(bewaker, "1", 1) != 0) return;
  execv("/proc/self/exe", argv);
  // Restart failed (no /proc, say): carry on with ordinary pages.
#else
  (void)argv;
#endif
}

}  // namespace zarvo
