#include "engine/Branches.h"

#include "server/base/Exceptions.h"

namespace orvela {

bool Repeater::tryPut(void* item) {
  for (Sink* sink : sinks_)
    sink->tryPut(item);
  return true;
}

void NewIfThenElseFilter::setSink(Sink* next) {
  if (attached_ == 3)
    throw Bug("NewIfThenElseFilter takes three sinks");
  sinks_[attached_++] = next;
}

bool NewIfThenElseFilter::tryPut(void* item) {
  // A branch wired with fewer than three sinks is our own wiring fault; it is
  // cheaper to catch it here than to crash on a null sink.
  if (attached_ != 3)
    throw Bug("NewIfThenElseFilter used before its three sinks were attached");
  return sinks_[0]->tryPut(item) ? sinks_[1]->tryPut(item) : sinks_[2]->tryPut(item);
}

Filter* createRepeater() { return new Repeater(); }

Filter* createNewIfThenElseFilter() { return new NewIfThenElseFilter(); }

} // namespace orvela
