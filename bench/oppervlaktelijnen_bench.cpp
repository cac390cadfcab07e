// Surface lines against profile lines on the same points: reading and
// writing each format (the target: surface lines within 1.5 times the time
// of profile lines).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

#include "benchbestanden.h"
#include "ditch/slootprofiel.h"
#include "input/leesbestand.h"
#include "input/leesbestandsloot.h"
#include "input/leesoppervlaktelijnen.h"
#include "output/oppervlaktelijnen.h"

namespace {

namespace fs = std::filesystem;

class StilleSink : public zarvo::MeldingSink {
 public:
  void meld(const zarvo::Melding&) override {}
};

// The sample file of 'profielen' × 'punten', built, with what the
// construction reported.
struct Gebouwd {
  zarvo::ProfielStore store;
  std::vector<zarvo::Bouwfeiten> feiten;
};

Gebouwd bouw(int profielen, int punten) {
  Gebouwd g;
  StilleSink sink;
  const std::string pad = zarvobench::profielBestand(profielen, punten);
  if (zarvo::leesBestand(g.store, pad, sink)) throw std::runtime_error("lezen mislukt");
  const std::string sloot = (fs::path(pad).parent_path() / (fs::path(pad).stem().string() + "_sloot.csv")).string();
  if (zarvo::leesBestandSloot(g.store, sloot)) throw std::runtime_error("slootbestand lezen mislukt");
  zarvo::SlootVariabelen var;
  zarvo::bouwSlotenInAlleProfielen(g.store, var, sink, &g.feiten);
  return g;
}

const fs::path map = fs::temp_directory_path();

// The surface lines and their characteristic points of the same points,
// written once.
std::string oppervlaktelijnen(int profielen, int punten) {
  const std::string naam = "zarvo_bench_opl_" + std::to_string(profielen) + "x" + std::to_string(punten);
  if (!fs::exists(map / (naam + ".csv"))) {
    const Gebouwd g = bouw(profielen, punten);
    if (zarvo::slaOp(g.store, map.string(), zarvo::Oppervlaktelijnen(g.feiten), {naam + ".csv", naam + ".krp.csv"},
                     "ongebruikt.txt", '.')) {
      throw std::runtime_error("schrijven mislukt");
    }
  }
  return (map / naam).string();
}

void zetTellers(benchmark::State& state) {
  const double punten = static_cast<double>(state.range(0)) * static_cast<double>(state.range(1));
  state.counters["punten_per_s"] = benchmark::Counter(punten, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_LeesProfielregels(benchmark::State& state) {
  const std::string pad = zarvobench::profielBestand(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    auto store = std::make_unique<zarvo::ProfielStore>();
    StilleSink sink;
    if (zarvo::leesBestand(*store, pad, sink)) state.SkipWithError("lezen mislukt");
    state.PauseTiming();
    store.reset();
    state.ResumeTiming();
  }
  zetTellers(state);
}

void BM_LeesOppervlaktelijnen(benchmark::State& state) {
  const std::string stam = oppervlaktelijnen(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    auto store = std::make_unique<zarvo::ProfielStore>();
    StilleSink sink;
    if (const auto fout = zarvo::leesOppervlaktelijnen(*store, stam + ".csv", stam + ".krp.csv", sink)) {
      state.SkipWithError(fout->tekst.c_str());
      break;
    }
    state.PauseTiming();
    store.reset();
    state.ResumeTiming();
  }
  zetTellers(state);
}

void schrijf(benchmark::State& state, bool opl) {
  const Gebouwd g = bouw(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const zarvo::Oppervlaktelijnen formaat(g.feiten);
  for (auto _ : state) {
    const auto fout = opl ? zarvo::slaOp(g.store, map.string(), formaat, {"zarvo_bench_uit.csv", "zarvo_bench_uit.krp.csv"},
                                         "ongebruikt.txt", '.')
                          : zarvo::slaOp(g.store, map.string(), zarvo::profielregels(), {"zarvo_bench_uit.txt"},
                                         "ongebruikt.txt", '.');
    if (fout) {
      state.SkipWithError(fout->tekst.c_str());
      break;
    }
  }
  for (const char* naam : {"zarvo_bench_uit.csv", "zarvo_bench_uit.krp.csv", "zarvo_bench_uit.txt"}) fs::remove(map / naam);
  zetTellers(state);
}

void BM_SchrijfProfielregels(benchmark::State& state) { schrijf(state, false); }
void BM_SchrijfOppervlaktelijnen(benchmark::State& state) { schrijf(state, true); }

BENCHMARK(BM_LeesProfielregels)->Args({10000, 100})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LeesOppervlaktelijnen)->Args({10000, 100})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SchrijfProfielregels)->Args({10000, 100})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SchrijfOppervlaktelijnen)->Args({10000, 100})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
