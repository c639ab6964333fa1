#pragma once
// What the zone benchmarks share: the clock counts they run over and random
// zones shaped like those of a search (upper and lower bounds on every clock
// and one clock difference per clock), fixed by the seed of the caller's
// generator.

#include "symbolic/UnpackedRegion.h"

#include <benchmark/benchmark.h>

#include <random>

namespace bench {

/// Runs a benchmark over 4, 8, 16 and 32 clocks.
inline void clockCounts(benchmark::internal::Benchmark* b) {
  b->ArgName("clocks");
  for (int clocks : {4, 8, 16, 32})
    b->Arg(clocks);
}

/// A heap region over `clocks` clocks holding a closed, non-empty zone: each
/// clock between a lower and an upper bound, and one difference constraint
/// per clock. Release it with `Region::remove`.
inline orvela::UnpackedRegion* randomRegion(unsigned clocks, std::mt19937& random) {
  std::uniform_int_distribution<int> constant(0, 40), clock(1, int(clocks));
  for (;;) {
    auto* region = orvela::UnpackedRegion::create(int(clocks + 1), true);
    for (int k = 1; k <= int(clocks); ++k) {
      const int low = constant(random);
      region->tighten(0, k, -low, false);
      region->tighten(k, 0, low + 10 + constant(random), false);
      region->tighten(k, clock(random), constant(random), false);
    }
    region->close();
    if (!region->isEmpty())
      return region;
    orvela::Region::remove(region);
  }
}

/// Tightens the upper bound of clock 1 by one and closes: a zone inside.
inline void shrink(orvela::UnpackedRegion* region) {
  region->tighten(1, 0, (region->get(1, 0) >> 1) - 1, false);
  region->close();
}

} // namespace bench
