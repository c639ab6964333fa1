#pragma once
// The last steps before the passed/waiting list: the waiting-state record with
// its discrete hash and store flag, its way back to a plain state, and the
// active-clock reduction.

#include "engine/Pipeline.h"
#include "engine/SuccessorPair.h"
#include "model/Successor.h"
#include "model/System.h"
#include "pwlist/PWList.h"

#include <cstdint>

namespace orvela {

/// The hash of the discrete part that tells states apart: lookup2 over the
/// location vector (2 bytes per process, from 0), chained over the first
/// `IntegerInfo::realInts` integer values. States with equal locations and
/// compared values hash alike whatever their zones.
uint32_t discreteHash(const GlobalState* state);

/// `tryPut(SuccessorPair*)`: passes on the record {state, store, hash} built
/// on its stack, where `store` is true with `spaceOpt` 0, with `spaceOpt` 1 for
/// a state that is not committed, and otherwise when the system does not
/// declare the state unnecessary (`System::noSave` of the pair's edges).
/// Answers the sink's answer.
class PairToWaitingStateFilter final : public ItemFilter<PairToWaitingStateFilter, SuccessorPair> {
public:
  explicit PairToWaitingStateFilter(const Pointer<System>& system) : system_(system) {}

  bool put(SuccessorPair* pair);

private:
  Pointer<System> system_;
};

/// The same for a `Successor`, with `System::noSave(const Successor&)`.
class SuccessorToWaitingStateFilter final
    : public ItemFilter<SuccessorToWaitingStateFilter, Successor> {
public:
  explicit SuccessorToWaitingStateFilter(const Pointer<System>& system) : system_(system) {}

  bool put(Successor* successor);

private:
  Pointer<System> system_;
};

/// `tryPut(WaitingState*)`: passes the record's state on.
class WaitingStateToGlobalStateFilter final
    : public ItemFilter<WaitingStateToGlobalStateFilter, WaitingState> {
public:
  bool put(WaitingState* record) { return passOn(record->state); }
};

/// `tryPut(item)` on any item whose first word is the `GlobalState*` (a pair,
/// a record): frees, in the state's closed zone, every clock but the
/// reference clock, the cost clock and the clocks active in some current
/// location (the locations' active-clock sets). Passes the item on and
/// answers the sink's answer.
class ActiveClockReductionFilter final : public AbstractFilter {
public:
  explicit ActiveClockReductionFilter(const Pointer<System>& system) : system_(system) {}

  bool tryPut(void* item) override;

private:
  Pointer<System> system_;
};

/// Factories; each returns a new filter with reference count 0.
Filter* createPairToWaitingStateFilter(const Pointer<System>& system);
Filter* createSuccessorToWaitingStateFilter(const Pointer<System>& system);
Filter* createWaitingStateToGlobalStateFilter();
Filter* createActiveClockReductionFilter(const Pointer<System>& system);

} // namespace orvela
