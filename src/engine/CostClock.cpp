#include "engine/CostClock.h"

#include "dbm/RawBound.h"
#include "symbolic/UnpackedRegion.h"

namespace orvela {

int costPriority(const GlobalState& state, int clock) {
  // Entry (0, clock) bounds 0 - clock from above: -lower, tighter when strict.
  return -state.getUnpackedRegion()->get(0, unsigned(clock));
}

ElapsedTime elapsedTimeOf(int priority) {
  const int32_t raw = -priority;
  return {-rawConstant(raw), rawIsStrict(raw)};
}

bool CostClockFilter::put(SuccessorPair* pair) {
  GlobalState* state = pair->first;
  UnpackedRegion* zone = state->getUnpackedRegion();
  // Clearing a row of a closed zone leaves it closed: no path grows shorter.
  const unsigned dimension = zone->getDim();
  for (unsigned j = 0; j < dimension; ++j)
    if (j != unsigned(clock_))
      zone->set(unsigned(clock_), j, rawInfinity);
  if (costPriority(*state, clock_) > *cutoff_) {
    blocks_.drop(state);
    return false;
  }
  return passOn(pair);
}

} // namespace orvela
