#pragma once
// A temporary unpacked region for the duration of one call: in the caller's
// frame for the common dimensions, on the heap beyond.

#include "symbolic/UnpackedRegion.h"

#include <memory>

namespace orvela {

class ScratchRegion {
public:
  /// A region of dimension n, initialised (every clock non-negative and
  /// unbounded) or not.
  ScratchRegion(unsigned n, bool init);
  ScratchRegion(const ScratchRegion&) = delete;
  ScratchRegion& operator=(const ScratchRegion&) = delete;
  ~ScratchRegion() { Region::remove(region_); }

  UnpackedRegion* get() const { return region_; }
  UnpackedRegion* operator->() const { return region_; }

private:
  /// Room for 32 clocks besides the reference clock.
  static constexpr std::size_t localWords = UnpackedRegion::sizeOf(33);

  alignas(UnpackedRegion) int local_[localWords];
  std::unique_ptr<int[]> heap_;
  UnpackedRegion* region_;
};

} // namespace orvela
