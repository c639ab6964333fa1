#include "pwlist/StoredState.h"

#include "dbm/RawBound.h"

#include <cassert>
#include <cstring>

namespace orvela {

namespace {

/// Copies the n·n matrix `zone` without its diagonal into `bounds`, through
/// `store(raw) -> bool`; answers false at the first bound it refuses.
template <class Bound, class Store>
bool packBounds(const int32_t* zone, unsigned n, Bound* bounds, Store store) {
  for (unsigned i = 0; i < n; ++i) {
    const int32_t* row = zone + std::size_t(i) * n;
    assert(row[i] == rawLessEqualZero && "stored zones are closed and not empty");
    for (unsigned j = 0; j < n; ++j)
      if (j != i && !store(row[j], *bounds++))
        return false;
  }
  return true;
}

/// The inverse of packBounds, the diagonal <= 0.
template <class Bound, class Load>
void unpackBounds(const Bound* bounds, unsigned n, int32_t* zone, Load load) {
  for (unsigned i = 0; i < n; ++i) {
    int32_t* row = zone + std::size_t(i) * n;
    for (unsigned j = 0; j < n; ++j)
      row[j] = j == i ? rawLessEqualZero : load(*bounds++);
  }
}

bool storeNarrow(int32_t raw, int16_t& bound) {
  if (rawIsInfinite(raw)) {
    bound = StoredStateLayout::narrowInfinity;
    return true;
  }
  if (raw < INT16_MIN || raw >= StoredStateLayout::narrowInfinity)
    return false;
  bound = static_cast<int16_t>(raw);
  return true;
}

int32_t loadNarrow(int16_t bound) {
  return bound == StoredStateLayout::narrowInfinity ? rawInfinity : bound;
}

} // namespace

StoredStateLayout::StoredStateLayout(const StateShape& shape, bool narrow)
    : shape_(shape), narrow_(narrow) {
  assert(shape.comparedIntegers <= shape.integers && "more compared values than values");
  integersAt_ = locationsAt_ + (shape.processes + 1) / 2;
  keyEnd_ = integersAt_ + shape.comparedIntegers;
  boundsAt_ = integersAt_ + shape.integers;
  bounds_ = std::size_t(shape.clocks) * shape.clocks - shape.clocks;
  recordWords_ = boundsAt_ + (narrow ? (bounds_ + 1) / 2 : bounds_);
}

bool StoredStateLayout::encode(int32_t* record, unsigned hash, int traceId,
                               const uint16_t* locations, const int32_t* integers,
                               const int32_t* zone) const {
  record[hashAt_] = static_cast<int32_t>(hash);
  record[traceIdAt_] = traceId;
  const unsigned p = shape_.processes;
  if (p % 2)
    record[integersAt_ - 1] = 0; // the padding half compares equal
  std::memcpy(record + locationsAt_, locations, p * sizeof(uint16_t));
  std::memcpy(record + integersAt_, integers, shape_.integers * sizeof(int32_t));
  if (!narrow_)
    return packBounds(zone, shape_.clocks, record + boundsAt_, [](int32_t raw, int32_t& bound) {
      bound = raw;
      return true;
    });
  auto* bounds = reinterpret_cast<int16_t*>(record + boundsAt_);
  if (bounds_ % 2)
    bounds[bounds_] = 0; // the padding half, for whole-record copies
  return packBounds(zone, shape_.clocks, bounds, storeNarrow);
}

std::size_t StoredStateLayout::firstDifferenceOfKey(const int32_t* a, const int32_t* b) const {
  return firstDifference(a, b, locationsAt_, keyEnd_);
}

Inclusion StoredStateLayout::relation(const int32_t* stored, const int32_t* incoming) const {
  if (!sameKey(stored, incoming))
    return Inclusion::none;
  if (narrow_)
    return compareMatrices(narrowBounds(stored), narrowBounds(incoming), 0, bounds_);
  return compareMatrices(stored, incoming, boundsAt_, boundsAt_ + bounds_);
}

void StoredStateLayout::locationsOf(const int32_t* record, uint16_t* locations) const {
  std::memcpy(locations, record + locationsAt_, shape_.processes * sizeof(uint16_t));
}

void StoredStateLayout::zoneOf(const int32_t* record, int32_t* zone) const {
  if (narrow_)
    unpackBounds(narrowBounds(record), shape_.clocks, zone, loadNarrow);
  else
    unpackBounds(record + boundsAt_, shape_.clocks, zone, [](int32_t bound) { return bound; });
}

void StoredStateLayout::widen(const int32_t* record, int32_t* wideRecord,
                              [[maybe_unused]] const StoredStateLayout& wide) const {
  assert(narrow_ && !wide.narrow_ && wide.boundsAt_ == boundsAt_ && "widening between shapes");
  std::memcpy(wideRecord, record, boundsAt_ * sizeof(int32_t));
  const int16_t* bounds = narrowBounds(record);
  for (std::size_t k = 0; k < bounds_; ++k)
    wideRecord[boundsAt_ + k] = loadNarrow(bounds[k]);
}

} // namespace orvela
