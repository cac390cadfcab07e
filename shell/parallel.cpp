#include "shell/parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace zarvo {

namespace {
std::atomic<std::size_t> testGrootte{0};
}

std::size_t aantalDraden() {
  const unsigned n = std::thread::hardware_concurrency();
  return std::clamp<std::size_t>(n, 1, 16);
}

void verdeelOverDraden(std::size_t n, const std::function<void(std::size_t, std::size_t)>& werk) {
  const std::size_t draden = std::min(n, aantalDraden());
  if (draden == 0) return;
  std::vector<std::exception_ptr> fouten(draden);
  auto deel = [&](std::size_t d) {
    try {
      for (std::size_t i = d; i < n; i += draden) werk(i, d);
    } catch (...) {
      fouten[d] = std::current_exception();
    }
  };
  std::vector<std::thread> helpers;
  helpers.reserve(draden - 1);
  try {
    for (std::size_t d = 1; d < draden; ++d) helpers.emplace_back(deel, d);
  } catch (const std::system_error&) {
    // No more threads to be had: the shares of the missing ones are done
    // below, on this thread.
  }
  deel(0);
  for (std::thread& t : helpers) t.join();
  for (std::size_t d = helpers.size() + 1; d < draden; ++d) deel(d);
  for (const std::exception_ptr& e : fouten) {
    if (e) std::rethrow_exception(e);
  }
}

void zetStukGrootteVoorTests(std::size_t grootte) { testGrootte.store(grootte); }
std::size_t stukGrootteVoorTests() { return testGrootte.load(); }

}  // namespace zarvo
