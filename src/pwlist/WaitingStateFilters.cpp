#include "pwlist/WaitingStateFilters.h"

#include "dbm/Hash.h"
#include "engine/StorageReduction.h"
#include "model/ControlState.h"
#include "symbolic/GlobalState.h"

namespace orvela {

uint32_t discreteHash(const GlobalState* state) {
  const uint32_t locations =
      hash(state->getLocations(), std::size_t(state->getProcessCount()) * sizeof(uint16_t), 0);
  return hash2(state->getIntegerTable()->getValues(),
               std::size_t(state->getIntegerTable()->getCount()), locations);
}

bool PairToWaitingStateFilter::put(SuccessorPair* pair) {
  const GlobalState* state = pair->first;
  WaitingState record{
      pair->first,
      keepsState(reduction_, *system_, state, [&] { return system_->noSave(pair->second, state); }),
      discreteHash(state)};
  return passOn(&record);
}

bool SuccessorToWaitingStateFilter::put(Successor* successor) {
  WaitingState record{successor->state,
                      keepsState(reduction_, *system_, successor->state,
                                 [&] { return system_->noSave(*successor); }),
                      discreteHash(successor->state)};
  return passOn(&record);
}

bool ActiveClockReductionFilter::tryPut(void* item) {
  GlobalState* state = *static_cast<GlobalState**>(item);
  UnpackedRegion* zone = state->getUnpackedRegion();
  const unsigned clocks = zone->getDim();
  // Dimensions stay below 256 (a region's dimension is one byte).
  bool active[256] = {};
  for (int p = 0; p < system_->getProcessCount(); ++p)
    for (int clock : system_->currentLocation(state, p)->getActiveClocks())
      if (clock >= 0 && unsigned(clock) < clocks)
        active[clock] = true;
  for (unsigned x = 1; x < clocks; ++x)
    if (!active[x])
      zone->free(x);
  return passOn(item);
}

Filter* createPairToWaitingStateFilter(const Pointer<System>& system, StorageReduction reduction) {
  return new PairToWaitingStateFilter(system, reduction);
}

Filter* createSuccessorToWaitingStateFilter(const Pointer<System>& system,
                                            StorageReduction reduction) {
  return new SuccessorToWaitingStateFilter(system, reduction);
}

Filter* createWaitingStateToGlobalStateFilter() { return new WaitingStateToGlobalStateFilter(); }

Filter* createActiveClockReductionFilter(const Pointer<System>& system) {
  return new ActiveClockReductionFilter(system);
}

} // namespace orvela
