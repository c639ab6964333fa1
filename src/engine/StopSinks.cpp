#include "engine/StopSinks.h"

namespace orvela {

bool StopSink::put(GlobalState* goal) {
  state_ = goal->unpackedCopy();
  target_->requestStop();
  return true;
}

PureSink* createDeallocationSink(const Pointer<Allocator>& allocator) {
  return new DeallocationSink(allocator);
}

} // namespace orvela
