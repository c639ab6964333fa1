// Packing a zone to its minimal constraints, and the packed form itself.

#include "symbolic/PackedRegion.h"

#include "dbm/MinimalConstraints.h"
#include "symbolic/PackData.h"
#include "symbolic/ScratchRegion.h"
#include "symbolic/UnpackedRegion.h"

#include <cassert>
#include <cstring>
#include <new>

namespace orvela {

void UnpackedRegion::pack(PackData* data) const {
  assert(isClosed() && "packing a region with a pending closure");
  const unsigned n = dim_;
  const int32_t* m = bounds();
  data->dim = n;
  data->matrix = m;
  std::memset(data->keep, 0, std::size_t(n) * n);
  markMinimalConstraints(m, n, data->keep);
  // x >= 0 holds in every region; unpacking restores it by default.
  for (unsigned j = 1; j < n; ++j)
    if (m[j] == rawLessEqualZero)
      data->keep[j] = 0;
  unsigned count = 0;
  for (std::size_t k = 0; k < std::size_t(n) * n; ++k)
    count += data->keep[k];
  data->count = count;
}

std::size_t PackedRegion::sizeOf(const PackData* data) {
  const std::size_t bitmapWords = (std::size_t(data->dim) * data->dim + 31) / 32;
  const std::size_t bytes = sizeof(PackedRegion) + 4 * (bitmapWords + data->count);
  return (bytes + 7) / 8 * 8;
}

PackedRegion* PackedRegion::create(const PackData* data, void* memory) {
  assert(reinterpret_cast<uintptr_t>(memory) % 8 == 0 && "packed memory must be 8-byte aligned");
  return new (memory) PackedRegion(data);
}

PackedRegion::Owned PackedRegion::pack(const UnpackedRegion& zone) {
  PackData data;
  zone.pack(&data);
  return Owned(create(&data, ::operator new(sizeOf(&data))));
}

PackedRegion::PackedRegion(const PackData* data) : dim_(static_cast<uint8_t>(data->dim)) {
  const std::size_t count = std::size_t(data->dim) * data->dim;
  uint32_t* bits = reinterpret_cast<uint32_t*>(this + 1);
  std::memset(bits, 0, bitmapWords() * sizeof(uint32_t));
  int32_t* kept = reinterpret_cast<int32_t*>(bits + bitmapWords());
  for (std::size_t k = 0; k < count; ++k) {
    if (!data->keep[k])
      continue;
    bits[k / 32] |= uint32_t(1) << (k % 32);
    *kept++ = data->matrix[k];
  }
  assert(kept - keptBounds() == std::ptrdiff_t(data->count) && "PackData count is wrong");
}

std::size_t PackedRegion::bytes() const {
  return (sizeof(PackedRegion) + 4 * (bitmapWords() + keptCount()) + 7) / 8 * 8;
}

unsigned PackedRegion::keptCount() const {
  unsigned count = 0;
  for (std::size_t w = 0; w < bitmapWords(); ++w)
    count += unsigned(__builtin_popcount(bitmap()[w]));
  return count;
}

void PackedRegion::unpackTo(UnpackedRegion* target) const {
  assert(target->getDim() == dim_ && "unpacking into a region of another dimension");
  const unsigned n = dim_;
  int32_t* m = target->bounds();
  for (unsigned i = 0; i < n; ++i)
    for (unsigned j = 0; j < n; ++j)
      m[i * n + j] = (i == 0 || i == j) ? rawLessEqualZero : rawInfinity;
  // The defaults form a closed matrix; the kept bounds are changes to it, so
  // a closure over their clocks rebuilds the zone.
  target->close();
  const int32_t* kept = keptBounds();
  const uint32_t* bits = bitmap();
  for (std::size_t w = 0; w < bitmapWords(); ++w)
    for (uint32_t word = bits[w]; word != 0; word &= word - 1) {
      const unsigned k = unsigned(w * 32 + __builtin_ctz(word));
      m[k] = *kept++;
      target->touch(k / n);
      target->touch(k % n);
    }
  target->close();
}

bool PackedRegion::keptConstraintsHold(const UnpackedRegion& zone) const {
  const int32_t* theirs = zone.bounds();
  const int32_t* kept = keptBounds();
  const uint32_t* bits = bitmap();
  for (std::size_t w = 0; w < bitmapWords(); ++w)
    for (uint32_t word = bits[w]; word != 0; word &= word - 1)
      if (theirs[w * 32 + __builtin_ctz(word)] > *kept++)
        return false;
  return true;
}

Inclusion PackedRegion::relation(const UnpackedRegion* zone) const {
  assert(zone->getDim() == dim_ && "relation of zones of different dimensions");
  if (keptConstraintsHold(*zone))
    return Inclusion::superset;
  ScratchRegion unpacked(dim_, false);
  unpackTo(unpacked.get());
  return unpacked->relation(zone);
}

} // namespace orvela
