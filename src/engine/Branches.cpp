#include "engine/Branches.h"

namespace orvela {

bool Repeater::tryPut(void* item) {
  for (Sink* sink : sinks_)
    sink->tryPut(item);
  return true;
}

Filter* createRepeater() { return new Repeater(); }

} // namespace orvela
