// Cost of the diagram operations behind the deadlock check: a zone minus the
// pasts of the zones where moves are enabled, then the reduction that decides
// whether anything is left.

#include "cddlib/CddInternal.h"
#include "dbm/dbm.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace {

/// A heap DBM with `dimension` clocks, all non-negative.
std::unique_ptr<std::byte[]> newZone(unsigned dimension, _dbm_*& dbm) {
  auto memory = std::make_unique<std::byte[]>(dbm_sizeof(dimension));
  dbm = dbm_init(dbm_reserve(memory.get(), dimension));
  return memory;
}

/// The state zone and the pasts of `moves` guard zones, as diagrams.
struct Workload {
  cdd zone;
  std::vector<cdd> pasts;
};

Workload makeWorkload(CddLibrary& library, unsigned clocks, int moves) {
  std::mt19937 rng(17);
  std::uniform_int_distribution<int32_t> constant(1, 20);
  std::uniform_int_distribution<unsigned> clock(1, clocks - 1);
  Workload work;
  _dbm_* dbm;
  auto memory = newZone(clocks, dbm);
  for (unsigned i = 1; i < clocks; ++i)
    dbm_tighten_bound(dbm, i, 0, 2 * 25 + 1);
  work.zone = library.fromDbm(dbm);
  for (int k = 0; k < moves; ++k) {
    auto guard = newZone(clocks, dbm);
    unsigned x = clock(rng), y = clock(rng);
    dbm_tighten_bound(dbm, 0, x, -2 * constant(rng) + 1); // x >= c
    if (x != y)
      dbm_tighten_bound(dbm, x, y, 2 * (constant(rng) / 4) + 1);
    dbm_wp(dbm);
    work.pasts.push_back(library.fromDbm(dbm));
  }
  return work;
}

void BM_ZoneMinusPastsThenReduce(benchmark::State& state) {
  auto clocks = unsigned(state.range(0));
  CddLibrary library{int(clocks)};
  Workload work = makeWorkload(library, clocks, int(state.range(1)));
  for (auto _ : state) {
    // Every state of a search brings new diagrams: start with cold caches.
    state.PauseTiming();
    cdd_flush_caches(library.state());
    state.ResumeTiming();
    cdd rest = work.zone;
    for (const cdd& past : work.pasts)
      rest = rest - past;
    benchmark::DoNotOptimize(library.reduce(rest));
  }
}
BENCHMARK(BM_ZoneMinusPastsThenReduce)->Args({4, 4})->Args({6, 8})->Args({8, 16});

} // namespace
