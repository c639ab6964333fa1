#pragma once
// A zone's minimal constraint set on its way from an unpacked region to a
// packed region or to the wire.

#include <cstdint>

namespace orvela {

/// Filled by `UnpackedRegion::pack(PackData*)`; built by the caller, usually
/// on the stack. Only the first dim·dim bytes of `keep` are meaningful.
struct PackData {
  static constexpr unsigned maxDimension = 255;

  unsigned dim;          ///< clocks, the reference clock included
  unsigned count;        ///< number of kept entries
  const int32_t* matrix; ///< the packed region's matrix, read, not copied
  /// keep[i·dim + j] is 1 if entry (i, j) is kept, 0 otherwise.
  uint8_t keep[maxDimension * maxDimension];
};

} // namespace orvela
