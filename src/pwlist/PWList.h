#pragma once
// The passed/waiting list: the memory of a state-space search. Successor
// states are put into it; it rejects a state that a stored state with the
// same discrete part covers, otherwise keeps a copy, drops every stored state
// that the new one covers, and queues the copy for exploration. The search
// takes waiting states out through a `GlobalStateReference` and tells the
// list, when it releases the reference, whether the state stays as passed.

#include "engine/ClockBounds.h"
#include "engine/Pipeline.h"
#include "engine/SearchWatch.h"

#include <cstddef>
#include <cstdint>

namespace orvela {

class GlobalState;

/// The item a passed/waiting list consumes, built on the stack by its
/// producer and valid during the call.
struct WaitingState {
  GlobalState* state; ///< copied by the list; stays the caller's
  bool store;         ///< keep the state as passed once it has been explored
  unsigned hash;      ///< hash of the locations and the compared integers
};

/// The interface of every passed/waiting list.
///   tryPut(WaitingState*)            true if the state was added, false if
///                                    a stored state covers it
///   tryGet(GlobalStateReference**)   true and a reference to the next
///                                    waiting state, false (the output left
///                                    alone) when none waits; until the
///                                    reference is released every call hands
///                                    out the same one
///   getSize()                        the waiting entries held
/// Before a state is handed out for exploration, the list's watch (if it was
/// given one) takes a step, so that a watched search can be ended there.
class PWList : public Buffer {
public:
  /// A new source that yields every stored state, waiting or passed, as a
  /// reference whose flag is true and whose release does nothing. The list
  /// must outlive the source and must not change while it is used.
  virtual Pointer<PureSource> enumStates() const = 0;
  /// Forgets every stored and waiting state and the counts. A reference or
  /// an enumeration handed out before is no longer valid.
  virtual void clear() = 0;

  /// States handed out by `tryGet` since the last `clear`, each once.
  std::uint64_t getExplored() const { return explored_; }
  /// States accepted by `tryPut` since the last `clear`.
  std::uint64_t getStored() const { return stored_; }
  /// Bytes of the nodes that hold the states kept now, waiting or passed
  /// (the bucket table and the waiting order not counted): what a stored
  /// state costs in this representation. 0 for a list that does not count.
  virtual std::size_t storedBytes() const { return 0; }
  /// From the next put on, compares zones by LU simulation with the bounds
  /// of the state's locations in `bounds`, or by inclusion when `bounds` is
  /// null. Lists whose stored forms cannot be compared so keep inclusion.
  virtual void setSimulation(const Pointer<ClockBounds>& /*bounds*/) {}
  /// From the next put on, a new state that covers a waiting one leaves it
  /// waiting instead of dropping it, so that every state is explored at the
  /// depth it was first reached at (a breadth-first search then finds paths
  /// of fewest steps). Lists that merge states ignore it.
  virtual void setKeepCoveredWaiting(bool /*keep*/) {}
  /// Steps `watch` (which must outlive the list's searches) before every
  /// state handed out from now on; null for none.
  void watchWith(SearchWatch* watch) { watch_ = watch; }

protected:
  /// Called before a state is handed out; throws `SearchLimitReached` when
  /// the watch says so.
  void stepWatch() {
    if (watch_)
      watch_->step();
  }

  SearchWatch* watch_ = nullptr;
  std::uint64_t explored_ = 0;
  std::uint64_t stored_ = 0;
};

} // namespace orvela
