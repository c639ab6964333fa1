#include "engine/Branches.h"

#include "server/base/Exceptions.h"

namespace orvela {

bool Repeater::tryPut(void* item) {
  for (Sink* sink : sinks_)
    sink->tryPut(item);
  return true;
}

bool TrueRepeater::tryPut(void* item) {
  for (Sink* sink : sinks_)
    if (!sink->tryPut(item))
      return false;
  return true;
}

IfThenElseFilter::IfThenElseFilter(Sink* cond, Sink* then, Sink* otherwise)
    : cond_(cond), then_(then), otherwise_(otherwise) {
  assert(cond && then && otherwise && "a branch needs all three sinks");
}

bool IfThenElseFilter::tryPut(void* item) {
  return cond_->tryPut(item) ? then_->tryPut(item) : otherwise_->tryPut(item);
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

Filter* createTrueRepeater() { return new TrueRepeater(); }

PureSink* createIfThenElseFilter(Sink* cond, Sink* then, Sink* otherwise) {
  return new IfThenElseFilter(cond, then, otherwise);
}

Filter* createNewIfThenElseFilter() { return new NewIfThenElseFilter(); }

} // namespace orvela
