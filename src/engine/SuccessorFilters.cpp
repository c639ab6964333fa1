#include "engine/SuccessorFilters.h"

#include "model/ChannelInfo.h"
#include "model/ControlState.h"
#include "model/Process.h"

namespace orvela {

// ------------------------------------------------------------- successor

SuccessorFilter::SuccessorFilter(const Pointer<System>& system, const Pointer<Allocator>& allocator)
    : system_(system), blocks_(*system, allocator) {}

bool SuccessorFilter::tryPut(void* item) {
  auto* pair = static_cast<SuccessorPair*>(item);
  if (!advance(pair->first, pair->second))
    return false;
  return passOn(pair);
}

bool SuccessorFilter::advance(GlobalState* state, const Transition** edges) {
  for (const Transition** e = edges; *e; ++e)
    if ((*e)->getClockGuard() && (!(*e)->evalClockGuards(state) || !state->ok())) {
      blocks_.drop(state);
      return false;
    }
  for (const Transition** e = edges; *e; ++e)
    state->setLocation(unsigned((*e)->getProcessIndex()), (*e)->getTarget());
  for (const Transition** e = edges; *e; ++e)
    (*e)->resetAssigns(state);
  return true;
}

CopyingSuccessorFilter::CopyingSuccessorFilter(const Pointer<System>& system,
                                               const Pointer<Allocator>& allocator)
    : SuccessorFilter(system, allocator) {}

bool CopyingSuccessorFilter::tryPut(void* item) {
  auto* pair = static_cast<SuccessorPair*>(item);
  for (const Transition** e = pair->second; *e; ++e)
    if (!(*e)->evalIntegerGuards(pair->first))
      return false;
  SuccessorPair own(blocks_.copyOf(*pair->first), pair->second);
  if (!advance(own.first, own.second))
    return false;
  return passOn(&own);
}

// ----------------------------------------------------------------- delay

DelayFilter::DelayFilter(const Pointer<System>& system, const Pointer<Allocator>& allocator)
    : system_(system), blocks_(*system, allocator), urgentChannels_(false) {
  for (int p = 0; p < system->getProcessCount(); ++p) {
    const Process& process = *system->getProcess(p);
    locationBase_.push_back(stopsTime_.size());
    for (int location = 0; location < process.getLocationCount(); ++location) {
      const ControlState& here = *process.getControlState(location);
      stopsTime_.push_back(here.isUrgent() || here.isCommitted());
    }
  }
  for (const ChannelInfo& channel : system->tables().channels)
    urgentChannels_ = urgentChannels_ || channel.urgent;
}

bool DelayFilter::mayDelay(const GlobalState* state) const {
  for (std::size_t p = 0; p < locationBase_.size(); ++p)
    if (stopsTime_[locationBase_[p] + std::size_t(state->getLocation(unsigned(p)))])
      return false;
  return !urgentChannels_ || !system_->hasUrgentTransitions(state);
}

bool DelayFilter::put(SuccessorPair* pair) {
  GlobalState* state = pair->first;
  if (mayDelay(state))
    state->delayAction();
  if (system_->evalInvariant(state))
    return passOn(pair);
  blocks_.drop(state);
  return false;
}

// ------------------------------------------------------------- factories

Filter* createSuccessorFilter(const Pointer<System>& system, const Pointer<Allocator>& allocator) {
  return new SuccessorFilter(system, allocator);
}

Filter* createCopyingSuccessorFilter(const Pointer<System>& system,
                                     const Pointer<Allocator>& allocator) {
  return new CopyingSuccessorFilter(system, allocator);
}

Filter* createDelayFilter(const Pointer<System>& system, const Pointer<Allocator>& allocator) {
  return new DelayFilter(system, allocator);
}

} // namespace orvela
