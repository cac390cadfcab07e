// The construction and the result writer on their own, without the reading
// that zarvo-batch bouw also does (scripts/bench-peers.sh times the whole job).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "benchbestanden.h"
#include "ditch/slootprofiel.h"
#include "input/leesbestand.h"
#include "input/leesbestandsloot.h"
#include "output/opslag.h"
#include "output/resultaatschrijver.h"

namespace {

class StilleSink : public zarvo::MeldingSink {
 public:
  void meld(const zarvo::Melding&) override { ++aantal; }
  long aantal = 0;
};

// The loaded store of a benchmark file, read once per size.
const zarvo::ProfielStore& geladen(int profielen, int punten) {
  static std::map<std::pair<int, int>, std::unique_ptr<zarvo::ProfielStore>> cache;
  auto& store = cache[{profielen, punten}];
  if (!store) {
    store = std::make_unique<zarvo::ProfielStore>();
    const std::string pad = zarvobench::profielBestand(profielen, punten);
    StilleSink sink;
    const std::string sloot = pad.substr(0, pad.size() - 4) + "_sloot.csv";
    if (zarvo::leesBestand(*store, pad, sink) || zarvo::leesBestandSloot(*store, sloot)) {
      throw std::runtime_error("benchmarkbestand niet leesbaar: " + pad);
    }
  }
  return *store;
}

void zetTellers(benchmark::State& state, double punten) {
  state.counters["punten"] = punten;
  state.counters["punten_per_s"] =
      benchmark::Counter(punten, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_BouwSloten(benchmark::State& state) {
  const int profielen = static_cast<int>(state.range(0));
  const int punten = static_cast<int>(state.range(1));
  const zarvo::ProfielStore& bron = geladen(profielen, punten);
  for (auto _ : state) {
    state.PauseTiming();
    auto store = std::make_unique<zarvo::ProfielStore>(bron);
    state.ResumeTiming();
    StilleSink sink;
    zarvo::SlootVariabelen var;
    benchmark::DoNotOptimize(zarvo::bouwSlotenInAlleProfielen(*store, var, sink).data());
    state.PauseTiming();
    store.reset();
    state.ResumeTiming();
  }
  zetTellers(state, static_cast<double>(profielen) * punten);
}

// A copy of the loaded store with its ditches built, for the writers.
zarvo::ProfielStore gebouwd(int profielen, int punten) {
  zarvo::ProfielStore store = geladen(profielen, punten);
  StilleSink sink;
  zarvo::SlootVariabelen var;
  zarvo::bouwSlotenInAlleProfielen(store, var, sink);
  return store;
}

void BM_SchrijfResultaat(benchmark::State& state) {
  const int profielen = static_cast<int>(state.range(0));
  const int punten = static_cast<int>(state.range(1));
  const zarvo::ProfielStore store = gebouwd(profielen, punten);
  const std::string map = std::filesystem::temp_directory_path().string();
  const std::string naam = "zarvo_bench_resultaat_" + std::to_string(profielen) + ".txt";
  for (auto _ : state) {
    if (const auto fout = zarvo::schrijfResultaat(store, map, naam, "ongebruikt.txt", '.')) {
      state.SkipWithError(fout->tekst.c_str());
      break;
    }
  }
  std::filesystem::remove(std::filesystem::path(map) / naam);
  zetTellers(state, static_cast<double>(profielen) * punten);
}

// The result file's text alone, into a stream that only counts it: what
// formatting costs apart from the disk.
void BM_FormatteerResultaat(benchmark::State& state) {
  struct Teller : zarvo::Uitvoerstroom {
    bool schrijf(std::string_view bytes) override {
      bytes_ += bytes.size();
      return true;
    }
    std::size_t bytes_ = 0;
  };
  const int profielen = static_cast<int>(state.range(0));
  const int punten = static_cast<int>(state.range(1));
  const zarvo::ProfielStore store = gebouwd(profielen, punten);
  Teller teller;
  for (auto _ : state) benchmark::DoNotOptimize(zarvo::profielregels().schrijf(0, store, teller, '.'));
  state.SetBytesProcessed(static_cast<std::int64_t>(teller.bytes_));
  zetTellers(state, static_cast<double>(profielen) * punten);
}

// 10,000 and 1,000,000 points with the same profile length: the time per
// point should not grow with the file.
BENCHMARK(BM_BouwSloten)->Args({100, 100})->Args({10000, 100})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SchrijfResultaat)->Args({100, 100})->Args({10000, 100})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatteerResultaat)->Args({10000, 100})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
