#include "symbolic/Region.h"
#include "symbolic/ScratchRegion.h"

#include <cassert>
#include <new>

namespace orvela {

Region::Region(unsigned dim, bool heapBlock)
    : dim_(static_cast<uint8_t>(dim)), heapBlock_(heapBlock) {
  assert(dim < 256 && "a region holds at most 255 clocks");
}

void Region::remove(Region* region) {
  if (!region)
    return;
  const bool heapBlock = region->heapBlock_;
  region->~Region();
  if (heapBlock)
    ::operator delete(static_cast<void*>(region));
}

ScratchRegion::ScratchRegion(unsigned n, bool init) {
  int* memory = local_;
  if (UnpackedRegion::sizeOf(n) > localWords) {
    heap_.reset(new int[UnpackedRegion::sizeOf(n)]);
    memory = heap_.get();
  }
  region_ = UnpackedRegion::create(int(n), init, memory);
}

} // namespace orvela
