// Packing, unpacking and inclusion of regions over 4 to 32 clocks, the work of
// the passed list on every stored and every offered state. The zones are
// random but fixed (seeded).

#include "ZoneShapes.h"
#include "symbolic/PackData.h"
#include "symbolic/PackedRegion.h"
#include "symbolic/UnpackedRegion.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

using orvela::PackData;
using orvela::PackedRegion;
using orvela::Region;
using orvela::UnpackedRegion;

struct Remover {
  void operator()(Region* region) const { Region::remove(region); }
};
using Unpacked = std::unique_ptr<UnpackedRegion, Remover>;
using Packed = PackedRegion::Owned;

Unpacked randomRegion(unsigned clocks, std::mt19937& random) {
  return Unpacked(bench::randomRegion(clocks, random));
}

/// A sub-zone of `region`: one upper bound tightened.
Unpacked innerRegion(const UnpackedRegion* region) {
  Unpacked inner(region->unpack());
  bench::shrink(inner.get());
  return inner;
}

using bench::clockCounts;

void BM_RegionPack(benchmark::State& state) {
  std::mt19937 random(1);
  const Unpacked region = randomRegion(unsigned(state.range(0)), random);
  PackData data;
  for (auto _ : state) {
    region->pack(&data);
    benchmark::DoNotOptimize(data.count);
  }
  state.counters["kept"] = data.count;
}
BENCHMARK(BM_RegionPack)->Apply(clockCounts);

void BM_RegionUnpack(benchmark::State& state) {
  std::mt19937 random(2);
  const Unpacked region = randomRegion(unsigned(state.range(0)), random);
  const Packed packed = PackedRegion::pack(*region);
  const Unpacked target(UnpackedRegion::create(int(state.range(0) + 1), false));
  for (auto _ : state) {
    packed->unpackTo(target.get());
    benchmark::DoNotOptimize(target->get(1, 0));
  }
}
BENCHMARK(BM_RegionUnpack)->Apply(clockCounts);

/// Equal regions: the scan reads every entry.
void BM_RegionRelationEqual(benchmark::State& state) {
  std::mt19937 random(3);
  const Unpacked a = randomRegion(unsigned(state.range(0)), random);
  const Unpacked b(a->unpack());
  for (auto _ : state)
    benchmark::DoNotOptimize(a->relation(b.get()));
}
BENCHMARK(BM_RegionRelationEqual)->Apply(clockCounts);

/// Unrelated regions: the scan stops once both directions are decided.
void BM_RegionRelationDifferent(benchmark::State& state) {
  std::mt19937 random(4);
  const Unpacked a = randomRegion(unsigned(state.range(0)), random);
  const Unpacked b = randomRegion(unsigned(state.range(0)), random);
  for (auto _ : state)
    benchmark::DoNotOptimize(a->relation(b.get()));
}
BENCHMARK(BM_RegionRelationDifferent)->Apply(clockCounts);

/// A stored packed region covering the offered one: the quick test answers.
void BM_RegionPackedRelationIncluded(benchmark::State& state) {
  std::mt19937 random(5);
  const Unpacked outer = randomRegion(unsigned(state.range(0)), random);
  const Unpacked inner = innerRegion(outer.get());
  const Packed packed = PackedRegion::pack(*outer);
  for (auto _ : state)
    benchmark::DoNotOptimize(packed->relation(inner.get()));
}
BENCHMARK(BM_RegionPackedRelationIncluded)->Apply(clockCounts);

/// The offered region covers the stored one: the quick test fails and the
/// packed region is unpacked for the full comparison.
void BM_RegionPackedRelationFallBack(benchmark::State& state) {
  std::mt19937 random(6);
  const Unpacked outer = randomRegion(unsigned(state.range(0)), random);
  const Unpacked inner = innerRegion(outer.get());
  const Packed packed = PackedRegion::pack(*inner);
  for (auto _ : state)
    benchmark::DoNotOptimize(packed->relation(outer.get()));
}
BENCHMARK(BM_RegionPackedRelationFallBack)->Apply(clockCounts);

/// A guard on two clocks and its closure over the touched clocks.
void BM_RegionTightenAndClose(benchmark::State& state) {
  std::mt19937 random(7);
  const Unpacked region = randomRegion(unsigned(state.range(0)), random);
  const Unpacked work(UnpackedRegion::create(int(state.range(0) + 1), false));
  for (auto _ : state) {
    region->unpackTo(work.get());
    work->tighten(1, 0, (region->get(1, 0) >> 1) - 1, false);
    work->tighten(0, 2, (region->get(0, 2) >> 1) - 1, false);
    work->close();
    benchmark::DoNotOptimize(work->get(2, 1));
  }
}
BENCHMARK(BM_RegionTightenAndClose)->Apply(clockCounts);

} // namespace
