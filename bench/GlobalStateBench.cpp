// Comparison and copying of whole states over 4 to 32 clocks, with 8
// processes and 8 integers: the passed list compares every offered state with
// the stored states of its bucket and copies every state it keeps. The zones
// are random but fixed (seeded).

#include "ZoneShapes.h"
#include "symbolic/Allocator.h"
#include "symbolic/GlobalState.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

using orvela::Allocator;
using orvela::GlobalState;
using orvela::IntegerTable;

constexpr int processes = 8;
constexpr int integers = 8;

struct Remover {
  void operator()(GlobalState* state) const { GlobalState::remove(state); }
};
using State = std::unique_ptr<GlobalState, Remover>;

/// A heap state with fixed locations and integers and a random zone over
/// `clocks` clocks.
State randomState(unsigned clocks, std::mt19937& random) {
  State state(GlobalState::create(processes));
  for (int k = 0; k < processes; ++k)
    state->setLocation(unsigned(k), k % 3);
  IntegerTable* table = IntegerTable::create(integers, false);
  for (int k = 0; k < integers; ++k)
    (*table)[k] = k * 7;
  state->setIntegerTable(table);
  state->setRegion(bench::randomRegion(clocks, random));
  return state;
}

/// A copy of `state` whose zone lies inside.
State innerState(const GlobalState* state) {
  State inner(state->unpackedCopy());
  bench::shrink(inner->getUnpackedRegion());
  return inner;
}

using bench::clockCounts;

/// Same discrete part, the stored zone includes the offered one.
void BM_StateRelationIncluded(benchmark::State& state) {
  std::mt19937 random(11);
  const State stored = randomState(unsigned(state.range(0)), random);
  const State offered = innerState(stored.get());
  for (auto _ : state)
    benchmark::DoNotOptimize(stored->relation(offered.get()));
}
BENCHMARK(BM_StateRelationIncluded)->Apply(clockCounts);

/// Same locations, one integer differs: rejected before the zones.
void BM_StateRelationOtherIntegers(benchmark::State& state) {
  std::mt19937 random(13);
  const State stored = randomState(unsigned(state.range(0)), random);
  const State offered(stored->unpackedCopy());
  (*offered->getIntegerTable())[integers - 1] += 1;
  for (auto _ : state)
    benchmark::DoNotOptimize(stored->relation(offered.get()));
}
BENCHMARK(BM_StateRelationOtherIntegers)->Apply(clockCounts);

/// An unpacked copy into a block of a chunk allocator, given back each time:
/// how the passed list stores a waiting state.
void BM_StateUnpackedCopyToChunk(benchmark::State& state) {
  std::mt19937 random(14);
  const State original = randomState(unsigned(state.range(0)), random);
  const int bytes =
      int(4 * GlobalState::sizeOfUnpacked(processes, integers, int(state.range(0) + 1)));
  const std::unique_ptr<Allocator, void (*)(Allocator*)> allocator(
      orvela::createChunkAllocator(bytes), orvela::delete_allocator);
  for (auto _ : state) {
    GlobalState* copy = original->unpackedCopy(allocator->allocate());
    benchmark::DoNotOptimize(copy);
    allocator->deallocate(copy);
  }
}
BENCHMARK(BM_StateUnpackedCopyToChunk)->Apply(clockCounts);

} // namespace
