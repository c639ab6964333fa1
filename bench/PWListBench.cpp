// The passed/waiting list on the path every successor takes: the offer of a
// state that is new, covers stored states or is covered, and the exploration
// cycle of get and release. States are random but fixed (seeded): a few
// discrete parts with many zones each, so that the relation scan over zones
// of the same discrete part dominates, as it does in a search.

#include "dbm/Hash.h"
#include "pwlist/HashingPWList.h"
#include "pwlist/PWListFactories.h"
#include "symbolic/GlobalState.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using namespace orvela;

constexpr int processes = 6;
constexpr int integers = 1;

struct Remover {
  void operator()(GlobalState* state) const { GlobalState::remove(state); }
};
using Owned = std::unique_ptr<GlobalState, Remover>;

struct Pool {
  std::vector<Owned> states;
  std::vector<WaitingState> offers;
  StateShape shape;
};

/// `parts` discrete parts with `zones` zones each over `clocks` clocks, in
/// random order. Each clock lies in a small interval or is unbounded above,
/// so that zones of one discrete part often include one another.
Pool makePool(int clocks, int parts, int zones) {
  std::mt19937 random(1234);
  std::uniform_int_distribution<int> small(0, 4), location(0, 5);
  Pool pool;
  pool.shape = {processes, integers, integers, unsigned(clocks + 1)};
  for (int d = 0; d < parts; ++d) {
    std::vector<int> locations(processes);
    for (int& l : locations)
      l = location(random);
    const int id = small(random);
    for (int z = 0; z < zones; ++z) {
      Owned s(GlobalState::create(processes));
      for (int p = 0; p < processes; ++p)
        s->setLocation(unsigned(p), locations[std::size_t(p)]);
      IntegerTable* table = IntegerTable::create(integers, false);
      (*table)[0] = id;
      s->setIntegerTable(table);
      s->setRegion(UnpackedRegion::create(clocks + 1, true));
      for (int x = 1; x <= clocks; ++x) {
        const int low = small(random);
        s->tighten(0, unsigned(x), -2 * low + 1);
        if (small(random) != 0)
          s->tighten(unsigned(x), 0, 2 * (low + small(random)) + 1);
      }
      s->ok();
      const uint32_t h =
          hash2(s->getIntegerReference(), integers, hash(s->getLocations(), 2 * processes, 0));
      pool.offers.push_back({s.get(), true, h});
      pool.states.push_back(std::move(s));
    }
  }
  std::shuffle(pool.offers.begin(), pool.offers.end(), random);
  return pool;
}

void BM_PWListOfferFresh(benchmark::State& bench) {
  Pool pool = makePool(int(bench.range(0)), int(bench.range(1)), int(bench.range(2)));
  Pointer<PWList> list = createDBMPWList(17609, createQueuePWOrder(), pool.shape);
  for (auto _ : bench) {
    list->clear();
    for (WaitingState& offer : pool.offers)
      benchmark::DoNotOptimize(list->tryPut(&offer));
  }
  bench.SetItemsProcessed(int64_t(bench.iterations()) * int64_t(pool.offers.size()));
  bench.counters["stored"] = double(list->getStored());
  bench.counters["nodeBytes"] = double(static_cast<ChunkPWListBase&>(*list).nodeBytes());
}
BENCHMARK(BM_PWListOfferFresh)->Args({7, 50, 400})->Args({7, 2000, 10})->Args({15, 50, 400});

/// Every offer is covered: the scan stops at the covering state.
void BM_PWListOfferCovered(benchmark::State& bench) {
  Pool pool = makePool(int(bench.range(0)), int(bench.range(1)), int(bench.range(2)));
  Pointer<PWList> list = createDBMPWList(17609, createQueuePWOrder(), pool.shape);
  for (WaitingState& offer : pool.offers)
    list->tryPut(&offer);
  for (auto _ : bench)
    for (WaitingState& offer : pool.offers)
      benchmark::DoNotOptimize(list->tryPut(&offer));
  bench.SetItemsProcessed(int64_t(bench.iterations()) * int64_t(pool.offers.size()));
}
BENCHMARK(BM_PWListOfferCovered)->Args({7, 50, 400})->Args({7, 2000, 10});

/// Offer everything, then explore everything: get, read both halves, keep.
void BM_PWListSearchCycle(benchmark::State& bench) {
  Pool pool = makePool(7, 200, 100);
  Pointer<PWList> list = createDBMPWList(17609, createQueuePWOrder(), pool.shape);
  Owned scratch(GlobalState::create(processes));
  scratch->setIntegerTable(IntegerTable::create(integers, false));
  scratch->setRegion(UnpackedRegion::create(8, false));
  for (auto _ : bench) {
    list->clear();
    for (WaitingState& offer : pool.offers)
      list->tryPut(&offer);
    GlobalStateReference* reference;
    while (list->tryGet(&reference)) {
      reference->writeDiscreteTo(scratch.get());
      reference->writeSymbolicTo(scratch.get());
      reference->release(!reference->getFlag());
    }
  }
  bench.SetItemsProcessed(int64_t(bench.iterations()) * int64_t(pool.offers.size()));
  bench.counters["explored"] = double(list->getExplored());
}
BENCHMARK(BM_PWListSearchCycle);

} // namespace
