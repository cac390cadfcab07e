// Sharing work out over the cores. The reader, the construction and the
// result writer cut their work into numbered pieces and run them here;
// they join the pieces' outcomes in order themselves, so that what the
// user sees does not depend on the number of cores.
#pragma once

#include <cstddef>
#include <functional>

namespace zarvo {

// The number of threads work is shared over: the cores, at least 1.
std::size_t aantalDraden();

// Runs werk(i, draad) for every i in [0, n), on min(n, aantalDraden())
// threads, the calling thread among them; 'draad' (0-based) tells which, so
// that a piece can use scratch memory of its own thread. Returns when all
// are done. What a call throws is thrown here once every thread has ended.
void verdeelOverDraden(std::size_t n, const std::function<void(std::size_t i, std::size_t draad)>& werk);

// For tests: the size of the pieces (bytes for the reader, profiles for the
// construction, points for the writer); 0, the default, is the normal size.
// Tiny pieces give small inputs as many borders as a test wants.
void zetStukGrootteVoorTests(std::size_t grootte);
std::size_t stukGrootteVoorTests();

}  // namespace zarvo
