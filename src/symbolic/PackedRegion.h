#pragma once
// The compact, immutable form of a zone: only its minimal constraints.

#include "symbolic/Region.h"

#include <cstddef>
#include <cstdint>

namespace orvela {

struct PackData;

/// Block layout: the header (vtable pointer, 8-bit dimension n, heap flag),
/// then a bitmap of ⌈n·n/32⌉ words (bit k mod 32 of word k/32 set if matrix
/// entry k = i·n + j is kept), then the kept raw bounds in increasing order
/// of k. An entry that is not kept stands for <= 0 in row 0 and on the
/// diagonal and for no bound elsewhere. No data member may be added.
///
/// A packed region answers inclusion questions against unpacked regions and
/// can be unpacked; every operation that would change it or needs the full
/// matrix throws `Bug` "NI: <signature>".
class PackedRegion final : public Region {
public:
  /// Block size in bytes of the packed form of `data`; a multiple of 8.
  static std::size_t sizeOf(const PackData* data);
  /// A heap packed region built from `data`. Release with `Region::remove`.
  static PackedRegion* create(const PackData* data);
  /// The same in caller memory of sizeOf(data) bytes, 8-byte aligned, which
  /// stays the caller's.
  static PackedRegion* create(const PackData* data, char* memory);

  /// Refused like every assignment to a packed region.
  PackedRegion& operator=(const PackedRegion& other) {
    return static_cast<PackedRegion&>(operator=(static_cast<const Region&>(other)));
  }

  const uint32_t* bitmap() const { return reinterpret_cast<const uint32_t*>(this + 1); }
  std::size_t bitmapWords() const { return (std::size_t(dim_) * dim_ + 31) / 32; }
  /// True if matrix entry k = i·n + j is kept.
  bool isKept(unsigned k) const { return (bitmap()[k / 32] >> (k % 32)) & 1; }
  /// The kept bounds, in increasing order of their matrix index.
  const int32_t* keptBounds() const {
    return reinterpret_cast<const int32_t*>(bitmap() + bitmapWords());
  }
  /// Number of kept entries.
  unsigned keptCount() const;

  /// Whether the closed `other` (same dimension) satisfies every kept
  /// constraint, so that this region includes it: the inclusion test that
  /// needs no unpacking.
  bool keptConstraintsHold(const UnpackedRegion& other) const;
  /// `other` is normally unpacked. When `keptConstraintsHold` the answer is
  /// `superset` without unpacking, equal zones included; otherwise the full
  /// matrices decide.
  Inclusion relation(const Region* other) const override;
  Region* copy() const override;
  UnpackedRegion* unpack() const override;
  /// Refused, through `copy`.
  PackedRegion* pack() const override;
  void unpackTo(UnpackedRegion* target) const override;
  void display(std::ostream& out) const override;
  /// Writes nothing.
  void displayAsQuery(std::ostream& out) const override;
  bool isPacked() const override { return true; }
  bool isUnbounded() const override;
  unsigned getDim() const override { return dim_; }
  /// False: a packed region is built from a non-empty zone.
  bool isEmpty() const override { return false; }
  void convexHull(UnpackedRegion* other) override;
  bool tighten(int i, int j, int value, bool strict) override;
  bool tightenRaw(int i, int j, int raw) override;
  void close() override;
  void delay() override;
  void past() override;
  _dbm_* asDBM(_dbm_* target) const override;
  cdd asCDD() const override;
  Region& operator=(const Region& other) override;

private:
  PackedRegion(const PackData* data, bool heapBlock);
};

static_assert(sizeof(PackedRegion) == sizeof(Region), "no data beyond the header");
static_assert(sizeof(Region) % alignof(uint32_t) == 0, "the bitmap starts on a word");

} // namespace orvela
