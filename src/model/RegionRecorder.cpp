#include "model/RegionRecorder.h"

#include "server/base/Exceptions.h"
#include "symbolic/UnpackedRegion.h"

namespace orvela {

bool RegionRecorder::tighten(unsigned int i, unsigned int j, int raw) {
  tightenings_.push_back({i, j, raw});
  return true;
}

void RegionRecorder::reset(unsigned int clock, int value) {
  resets_.push_back({clock, value, false});
}

void RegionRecorder::offset(unsigned int clock, int delta) {
  resets_.push_back({clock, delta, true});
}

GlobalState* RegionRecorder::getGlobalState() {
  throw Bug("RegionRecorder cannot return GlobalState");
}

void RegionRecorder::replayReverse(UnpackedRegion* zone) const {
  for (auto entry = resets_.rbegin(); entry != resets_.rend(); ++entry) {
    if (entry->offset) {
      zone->offset(entry->clock, -entry->value);
    } else {
      zone->possible(static_cast<int>(entry->clock), entry->value);
      zone->free(entry->clock);
    }
  }
  for (auto entry = tightenings_.rbegin(); entry != tightenings_.rend(); ++entry)
    zone->tightenRaw(static_cast<int>(entry->i), static_cast<int>(entry->j), entry->raw);
}

} // namespace orvela
