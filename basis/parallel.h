// Sharing work out over the cores. The reader, the construction and the
// result writer cut their work into numbered pieces and run them here;
// they join the pieces' outcomes in order themselves, so that what the
// user sees does not depend on the number of cores.
//
// The threads are made once, on first use, and wait between calls, so that
// a caller may share out many small rounds. One call has them at a time: a
// call made meanwhile (from another thread, or from inside a piece) runs on
// its calling thread alone, with the same outcome.
#pragma once

#include <cstddef>
#include <functional>

namespace zarvo {

// The number of threads work is shared over: the cores, at least 1.
std::size_t aantalDraden();

// Runs werk(i, draad) for every i in [0, n), on up to min(n, aantalDraden())
// threads, the calling thread among them; 'draad' (0-based, below that
// number) tells which, so that a piece can use scratch memory of its own
// thread. The pieces are handed out one by one as threads come free, so a
// slow core holds up no more than its own piece. Returns when all are done.
// When a piece throws, no further pieces are started, and once every thread
// has ended the exception of the lowest-numbered failing piece is thrown
// here: the one a plain loop would have thrown.
void verdeelOverDraden(std::size_t n, const std::function<void(std::size_t i, std::size_t draad)>& werk);

// Makes pieces 0..n-1 side by side and hands them on in order, while later
// pieces are still being made: maak(i, plek) makes piece i into buffer
// 'plek' (below 'plekken') on any thread, geef(i, plek) hands it on, always
// on the calling thread and in the order of i. A buffer is reused only once
// geef has had it, so no more than 'plekken' pieces exist at a time however
// large n is. When geef returns false nothing more is made or handed on and
// the result is false. Exceptions as verdeelOverDraden.
bool maakOpVolgorde(std::size_t n, std::size_t plekken,
                    const std::function<void(std::size_t i, std::size_t plek)>& maak,
                    const std::function<bool(std::size_t i, std::size_t plek)>& geef);

// For tests: the size of the pieces (bytes for the reader, profiles for the
// construction, points for the writers, profiles for the characteristic
// points); 0, the default, is the normal size.
// Tiny pieces give small inputs as many borders as a test wants.
void zetStukGrootteVoorTests(std::size_t grootte);
std::size_t stukGrootteVoorTests();

}  // namespace zarvo
