// Reading the profile-lines file: throughput and growth with the file size.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "benchbestanden.h"
#include "input/leesbestand.h"

namespace {

class StilleSink : public zarvo::MeldingSink {
 public:
  void meld(const zarvo::Melding&) override { ++aantal; }
  long aantal = 0;
};

void BM_LeesBestand(benchmark::State& state) {
  const int profielen = static_cast<int>(state.range(0));
  const int punten = static_cast<int>(state.range(1));
  const std::string pad = zarvobench::profielBestand(profielen, punten);
  const auto grootte = static_cast<std::int64_t>(std::filesystem::file_size(pad));
  for (auto _ : state) {
    auto store = std::make_unique<zarvo::ProfielStore>();
    StilleSink sink;
    if (const auto fout = zarvo::leesBestand(*store, pad, sink)) {
      state.SkipWithError(fout->tekst.c_str());
      break;
    }
    benchmark::DoNotOptimize(store->profielen.data());
    state.PauseTiming();  // freeing the store is the next load's business
    store.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * grootte);
  state.counters["punten"] = static_cast<double>(profielen) * punten;
  state.counters["punten_per_s"] = benchmark::Counter(static_cast<double>(profielen) * punten,
                                                      benchmark::Counter::kIsIterationInvariantRate);
}

// 10,000 and 1,000,000 points with the same profile length: the time per
// point should not grow with the file.
BENCHMARK(BM_LeesBestand)->Args({100, 100})->Args({10000, 100})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
