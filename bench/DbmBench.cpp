// Closure, inclusion and hashing of DBMs over 4 to 32 clocks. The zones are
// random but fixed (seeded), shaped like the zones of a search: upper and lower
// bounds on clocks and a few clock differences.

#include "ZoneShapes.h"
#include "dbm/Hash.h"
#include "dbm/dbm.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

/// A DBM of dimension clocks + 1 in memory of its own.
class Dbm {
public:
  explicit Dbm(unsigned clocks)
      : memory_((dbm_sizeof(clocks + 1) + 3) / 4), d_(dbm_reserve(memory_.data(), clocks + 1)) {}
  Dbm(const Dbm&) = delete;
  Dbm& operator=(const Dbm&) = delete;
  operator _dbm_*() const { return d_; }

private:
  std::vector<uint32_t> memory_;
  _dbm_* d_;
};

/// A closed, non-empty zone: each clock between a lower and an upper bound,
/// and one difference constraint per clock.
void randomZone(_dbm_* d, std::mt19937& random) {
  const unsigned n = dbm_get_size(d);
  std::uniform_int_distribution<int> constant(0, 40), clock(1, int(n) - 1);
  do {
    dbm_init(d);
    for (unsigned k = 1; k < n; ++k) {
      const int low = constant(random);
      dbm_tighten_bound(d, 0, k, -2 * low + 1);
      dbm_tighten_bound(d, k, 0, 2 * (low + 10 + constant(random)) + 1);
      dbm_tighten_bound(d, k, unsigned(clock(random)), 2 * constant(random) + 1);
    }
  } while (dbm_is_empty(d));
  dbm_close(d);
}

using bench::clockCounts;

/// One tightened bound: pivots on its two clocks.
void BM_DbmCloseOneBound(benchmark::State& state) {
  const unsigned clocks = unsigned(state.range(0));
  std::mt19937 random(1);
  Dbm zone(clocks), work(clocks);
  randomZone(zone, random);
  const int32_t bound = dbm_get_bound(zone, 1, 0) - 4;
  for (auto _ : state) {
    dbm_copy(work, zone);
    dbm_tighten_bound(work, 1, 0, bound);
    dbm_close(work);
    benchmark::DoNotOptimize(dbm_get_bound(work, clocks, 0));
  }
}
BENCHMARK(BM_DbmCloseOneBound)->Apply(clockCounts);

/// A guard and a reset touching three clocks: one pivot per touched clock.
void BM_DbmCloseThreeClocks(benchmark::State& state) {
  const unsigned clocks = unsigned(state.range(0));
  std::mt19937 random(2);
  Dbm zone(clocks), work(clocks);
  randomZone(zone, random);
  for (auto _ : state) {
    dbm_copy(work, zone);
    dbm_tighten_bound(work, 1, 0, dbm_get_bound(zone, 1, 0) - 2);
    dbm_tighten_bound(work, 0, 2, dbm_get_bound(zone, 0, 2) - 2);
    dbm_tighten_bound(work, 3, 1, dbm_get_bound(zone, 3, 1) - 2);
    dbm_close(work);
    benchmark::DoNotOptimize(dbm_get_bound(work, clocks, 0));
  }
}
BENCHMARK(BM_DbmCloseThreeClocks)->Apply(clockCounts);

/// Equal zones: the scan must read every entry.
void BM_DbmRelationEqual(benchmark::State& state) {
  const unsigned clocks = unsigned(state.range(0));
  std::mt19937 random(4);
  Dbm a(clocks), b(clocks);
  randomZone(a, random);
  dbm_copy(b, a);
  for (auto _ : state)
    benchmark::DoNotOptimize(dbm_relation(a, b));
}
BENCHMARK(BM_DbmRelationEqual)->Apply(clockCounts);

/// Unrelated zones: the scan stops once both directions are decided.
void BM_DbmRelationDifferent(benchmark::State& state) {
  const unsigned clocks = unsigned(state.range(0));
  std::mt19937 random(5);
  Dbm a(clocks), b(clocks);
  randomZone(a, random);
  randomZone(b, random);
  for (auto _ : state)
    benchmark::DoNotOptimize(dbm_relation(a, b));
}
BENCHMARK(BM_DbmRelationDifferent)->Apply(clockCounts);

void BM_DbmHash(benchmark::State& state) {
  const unsigned clocks = unsigned(state.range(0));
  std::mt19937 random(6);
  Dbm zone(clocks);
  randomZone(zone, random);
  for (auto _ : state)
    benchmark::DoNotOptimize(dbm_hash(zone));
  state.SetBytesProcessed(int64_t(state.iterations()) * (clocks + 1) * (clocks + 1) * 4);
}
BENCHMARK(BM_DbmHash)->Apply(clockCounts);

} // namespace
