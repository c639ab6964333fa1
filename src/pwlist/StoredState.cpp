#include "pwlist/StoredState.h"

#include "symbolic/dbm/RawBound.h"

#include <cassert>
#include <cstring>

namespace orvela {

StoredStateLayout::StoredStateLayout(const StateShape& shape) : shape_(shape) {
  assert(shape.comparedIntegers <= shape.integers && "more compared values than values");
  integersAt_ = locationsAt_ + (shape.processes + 1) / 2;
  keyEnd_ = integersAt_ + shape.comparedIntegers;
  boundsAt_ = integersAt_ + shape.integers;
  bounds_ = std::size_t(shape.clocks) * shape.clocks - shape.clocks;
}

void StoredStateLayout::encode(int32_t* record, unsigned hash, int traceId,
                               const uint16_t* locations, const int32_t* integers,
                               const int32_t* zone) const {
  record[hashAt_] = static_cast<int32_t>(hash);
  record[traceIdAt_] = traceId;
  const unsigned p = shape_.processes;
  if (p % 2)
    record[integersAt_ - 1] = 0; // the padding half compares equal
  std::memcpy(record + locationsAt_, locations, p * sizeof(uint16_t));
  std::memcpy(record + integersAt_, integers, shape_.integers * sizeof(int32_t));
  const unsigned n = shape_.clocks;
  int32_t* bounds = record + boundsAt_;
  for (unsigned i = 0; i < n; ++i) {
    const int32_t* row = zone + std::size_t(i) * n;
    assert(row[i] == rawLessEqualZero && "stored zones are closed and not empty");
    std::memcpy(bounds, row, i * sizeof(int32_t));
    std::memcpy(bounds + i, row + i + 1, (n - 1 - i) * sizeof(int32_t));
    bounds += n - 1;
  }
}

int StoredStateLayout::relation(const int32_t* stored, const int32_t* incoming) const {
  // Cheapest rejection first: the hash, then the rest of the key.
  if (stored[hashAt_] != incoming[hashAt_] ||
      firstDifference(stored, incoming, locationsAt_, keyEnd_) != keyEnd_)
    return 0;
  switch (compareMatrices(stored, incoming, boundsAt_, boundsAt_ + bounds_)) {
  case MatrixOrder::equal:
    return 4;
  case MatrixOrder::greater:
    return 1;
  case MatrixOrder::less:
    return 2;
  case MatrixOrder::different:
    break;
  }
  return 0;
}

void StoredStateLayout::locationsOf(const int32_t* record, uint16_t* locations) const {
  std::memcpy(locations, record + locationsAt_, shape_.processes * sizeof(uint16_t));
}

void StoredStateLayout::zoneOf(const int32_t* record, int32_t* zone) const {
  const unsigned n = shape_.clocks;
  const int32_t* bounds = record + boundsAt_;
  for (unsigned i = 0; i < n; ++i) {
    int32_t* row = zone + std::size_t(i) * n;
    std::memcpy(row, bounds, i * sizeof(int32_t));
    row[i] = rawLessEqualZero;
    std::memcpy(row + i + 1, bounds + i, (n - 1 - i) * sizeof(int32_t));
    bounds += n - 1;
  }
}

} // namespace orvela
