#pragma once
// The last steps before the passed/waiting list: the waiting-state record with
// its discrete hash and store flag, its way back to a plain state, and the
// active-clock reduction.

#include "engine/Pipeline.h"
#include "engine/StorageReduction.h"
#include "engine/SuccessorPair.h"
#include "model/Successor.h"
#include "model/System.h"
#include "pwlist/PWList.h"

#include <cstdint>

namespace orvela {

/// The hash of the discrete part that tells states apart: lookup2 over the
/// location vector (2 bytes per process, from 0), chained over the integer
/// values (every table of a model holds exactly its declared integers).
/// States with equal locations and values hash alike whatever their zones.
uint32_t discreteHash(const GlobalState* state);

/// `tryPut(SuccessorPair*)`: passes on the record {state, store, hash} built
/// on its stack, where `store` tells whether the storage reduction keeps the
/// state (`keepsState`, with `System::noSave` of the pair's edges). Answers
/// the sink's answer.
class PairToWaitingStateFilter final : public ItemFilter<PairToWaitingStateFilter, SuccessorPair> {
public:
  PairToWaitingStateFilter(const Pointer<System>& system, StorageReduction reduction)
      : system_(system), reduction_(reduction) {}

  bool put(SuccessorPair* pair);

private:
  Pointer<System> system_;
  StorageReduction reduction_;
};

/// The same for a `Successor`, with `System::noSave(const Successor&)`.
class SuccessorToWaitingStateFilter final
    : public ItemFilter<SuccessorToWaitingStateFilter, Successor> {
public:
  SuccessorToWaitingStateFilter(const Pointer<System>& system, StorageReduction reduction)
      : system_(system), reduction_(reduction) {}

  bool put(Successor* successor);

private:
  Pointer<System> system_;
  StorageReduction reduction_;
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
Filter* createPairToWaitingStateFilter(const Pointer<System>& system, StorageReduction reduction);
Filter* createSuccessorToWaitingStateFilter(const Pointer<System>& system,
                                            StorageReduction reduction);
Filter* createWaitingStateToGlobalStateFilter();
Filter* createActiveClockReductionFilter(const Pointer<System>& system);

} // namespace orvela
