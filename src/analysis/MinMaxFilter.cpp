#include "analysis/MinMaxFilter.h"

#include "dbm/RawBound.h"
#include "symbolic/GlobalState.h"

#include <algorithm>

namespace orvela {

MinMaxFilter::MinMaxFilter(const std::list<PLV>& items) {
  for (const PLV& item : items)
    watches_.push_front({item, nothingSeen});
}

bool MinMaxFilter::tryPut(void* item) {
  const auto* state = static_cast<const GlobalState*>(item);
  for (Watch& entry : watches_) {
    const PLV& where = entry.first;
    if (where.process != -1) {
      // A process the state does not have matches nothing.
      if (where.process < 0 || where.process >= state->getProcessCount() ||
          state->getLocation(unsigned(where.process)) != where.location)
        continue;
    }
    collect(entry, state);
  }
  assert(sink_ && "collector used before its sink was attached");
  return sink_->tryPut(item);
}

void MinMaxFilter::include(Watch& entry, int low, int high) {
  entry.second.first = std::min(entry.second.first, low);
  entry.second.second = std::max(entry.second.second, high);
}

void IntegerMinMaxFilter::collect(Watch& entry, const GlobalState* state) {
  const IntegerTable* table = state->getIntegerTable();
  const int variable = entry.first.variable;
  if (!table || variable < 0 || variable >= table->getCount())
    return;
  include(entry, (*table)[variable], (*table)[variable]);
}

void ClockMinMaxFilter::collect(Watch& entry, const GlobalState* state) {
  const UnpackedRegion* zone = state->getUnpackedRegion();
  const int clock = entry.first.variable;
  if (clock < 0 || unsigned(clock) >= zone->getDim())
    return;
  include(entry, -rawConstant(zone->get(0, unsigned(clock))),
          rawConstant(zone->get(unsigned(clock), 0)));
}

} // namespace orvela
