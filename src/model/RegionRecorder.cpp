#include "model/RegionRecorder.h"

#include "base/Exceptions.h"
#include "expr/UpdatePreview.h"
#include "symbolic/UnpackedRegion.h"

namespace orvela {

bool RegionRecorder::tighten(unsigned int i, unsigned int j, int raw) {
  tightenings_.push_back({i, j, raw});
  return true;
}

void RegionRecorder::reset(unsigned int clock, int value) {
  resets_.push_back({clock, value, reset_t::reset});
}

void RegionRecorder::offset(unsigned int clock, int delta) {
  resets_.push_back({clock, delta, reset_t::offset});
}

void RegionRecorder::recordUpdates(const Expression& update) {
  previewUpdates(update, *this, [this](unsigned int destination, unsigned int source) {
    resets_.push_back({destination, static_cast<int>(source), reset_t::copy});
  });
}

GlobalState* RegionRecorder::getGlobalState() {
  throw Bug("RegionRecorder cannot return GlobalState");
}

void RegionRecorder::replayReverse(UnpackedRegion* zone) const {
  for (auto entry = resets_.rbegin(); entry != resets_.rend(); ++entry) {
    const int clock = static_cast<int>(entry->clock);
    switch (entry->kind) {
    case reset_t::offset:
      zone->offset(entry->clock, -entry->value);
      break;
    case reset_t::reset:
      zone->possible(clock, entry->value);
      zone->free(entry->clock);
      break;
    case reset_t::copy:
      if (zone->tightenRaw(clock, entry->value, Zone::zero))
        zone->tightenRaw(entry->value, clock, Zone::zero);
      zone->close();
      zone->free(entry->clock);
      break;
    }
  }
  for (auto entry = tightenings_.rbegin(); entry != tightenings_.rend(); ++entry)
    zone->tightenRaw(static_cast<int>(entry->i), static_cast<int>(entry->j), entry->raw);
}

} // namespace orvela
