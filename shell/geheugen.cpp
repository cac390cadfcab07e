#include "shell/geheugen.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <vector>

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#define ZARVO_GROTE_PAGINAS 1
#endif

namespace zarvo {

#ifdef ZARVO_GROTE_PAGINAS
namespace {
std::atomic<bool> aan{false};
}
#endif

void gebruikGrotePaginas() {
#ifdef ZARVO_GROTE_PAGINAS
  // One arena for all threads: the points the reader's threads allocate
  // then come out of the memory made ready below. Blocks up to the
  // largest threshold come from that arena too, and what is freed is kept
  // rather than given back, so the next step reuses pages already cleared.
  if (mallopt(M_ARENA_MAX, 1) == 1 && mallopt(M_MMAP_THRESHOLD, 32 << 20) == 1 &&
      mallopt(M_TRIM_THRESHOLD, 1 << 30) == 1) {
    aan = true;
  }
#endif
}

void maakGeheugenKlaar(std::size_t bytes) {
#ifdef ZARVO_GROTE_PAGINAS
  // Small files are not worth a system call.
  if (!aan || bytes < (std::size_t{8} << 20)) return;
  // The arena grows at its top. Blocks just under the threshold are taken
  // from there one after another, marked for large pages and freed again:
  // the top then spans them, and what is allocated next is served from
  // those pages as they are first touched.
  constexpr std::size_t stap = std::size_t{30} << 20;
  constexpr std::uintptr_t groot = std::uintptr_t{2} << 20;
  std::vector<void*> blokken;
  std::uintptr_t laag = UINTPTR_MAX;
  std::uintptr_t hoog = 0;
  for (std::size_t klaar = 0; klaar < bytes; klaar += stap) {
    void* blok = std::malloc(stap);
    if (blok == nullptr) break;
    blokken.push_back(blok);
    laag = std::min(laag, reinterpret_cast<std::uintptr_t>(blok));
    hoog = std::max(hoog, reinterpret_cast<std::uintptr_t>(blok) + stap);
  }
  // One call over the whole stretch; should the blocks not lie side by
  // side, the parts in between that are not the program's are passed over.
  const std::uintptr_t begin = (laag + groot - 1) & ~(groot - 1);
  const std::uintptr_t eind = hoog & ~(groot - 1);
  if (!blokken.empty() && eind > begin) madvise(reinterpret_cast<void*>(begin), eind - begin, MADV_HUGEPAGE);
  for (auto it = blokken.rbegin(); it != blokken.rend(); ++it) std::free(*it);
#else
  (void)bytes;
#endif
}

}  // namespace zarvo
