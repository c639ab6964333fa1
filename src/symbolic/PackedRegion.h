#pragma once
// The compact, immutable storage form of a closed, non-empty zone: only its
// minimal constraints. A packed region is not a region: it stores a zone,
// answers whether it includes a zone and gives the zone back unpacked; every
// other operation works on the unpacked form.

#include "dbm/RawBound.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <vector>

namespace orvela {

struct PackData;
class UnpackedRegion;
struct ClockInfo;

/// Block layout: the 4-byte header (8-bit dimension n), then a bitmap of
/// ⌈n·n/32⌉ words (bit k mod 32 of word k/32 set if matrix entry k = i·n + j
/// is kept), then the kept raw bounds in increasing order of k. An entry that
/// is not kept stands for <= 0 in row 0 and on the diagonal and for no bound
/// elsewhere. No data member may be added. The block is trivially
/// destructible: whoever owns its memory simply reuses or frees it.
class PackedRegion final {
public:
  /// Frees a heap block from `pack`.
  struct Free {
    void operator()(PackedRegion* packed) const { ::operator delete(static_cast<void*>(packed)); }
  };
  using Owned = std::unique_ptr<PackedRegion, Free>;

  /// Block size in bytes of the packed form of `data`; a multiple of 8.
  static std::size_t sizeOf(const PackData* data);
  /// Builds the packed form of `data` in caller memory of sizeOf(data) bytes,
  /// 8-byte aligned, which stays the caller's.
  static PackedRegion* create(const PackData* data, void* memory);
  /// The packed form of the closed, non-empty `zone` in a heap block.
  static Owned pack(const UnpackedRegion& zone);

  PackedRegion(const PackedRegion&) = delete;
  PackedRegion& operator=(const PackedRegion&) = delete;

  /// The number of clocks, the reference clock included.
  unsigned getDim() const { return dim_; }
  /// Size of this block in bytes, as `sizeOf` gave it.
  std::size_t bytes() const;
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

  /// Writes the zone into `target` (same dimension), closed.
  void unpackTo(UnpackedRegion* target) const;
  /// Whether the closed `zone` (same dimension) satisfies every kept
  /// constraint, so that this zone includes it: the test that needs no
  /// unpacking.
  bool keptConstraintsHold(const UnpackedRegion& zone) const;
  /// Inclusion of this zone in the closed `zone` (same dimension). When
  /// `keptConstraintsHold` the answer is `superset` without unpacking, equal
  /// zones included; otherwise the unpacked matrices decide.
  Inclusion relation(const UnpackedRegion* zone) const;
  /// The kept constraints with clock names, each followed by ", ".
  void display(std::ostream& out, const std::vector<ClockInfo>& clocks) const;

private:
  explicit PackedRegion(const PackData* data);

  uint8_t dim_;
  uint8_t unused_[3] = {};
};

static_assert(sizeof(PackedRegion) == 4, "the bitmap follows a one-word header");

} // namespace orvela
