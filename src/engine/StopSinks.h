#pragma once
// Terminal sinks that end a search: they record what was found and tell the
// searching member to stop.

#include "engine/CompoundFilter.h"
#include "symbolic/Allocator.h"
#include "symbolic/GlobalState.h"

#include <utility>

namespace orvela {

/// The sink behind a query filter: keeps an unpacked heap copy of the goal
/// state put in (a later goal replaces it) and asks its target, the search,
/// to stop; answers true. The caller may free the
/// state it put in.
class StopSink final : public ItemSink<StopSink, GlobalState> {
public:
  explicit StopSink(const Pointer<SearchFilter>& target) : target_(target) {}

  bool put(GlobalState* goal);

  /// The last goal state, null while none was found.
  const Pointer<GlobalState>& state() const { return state_; }

private:
  Pointer<GlobalState> state_;
  Pointer<SearchFilter> target_;
};

/// Returns every item, a block of `allocator`, to the allocator; answers
/// true.
class DeallocationSink final : public PureSink {
public:
  explicit DeallocationSink(const Pointer<Allocator>& allocator) : allocator_(allocator) {}
  bool tryPut(void* block) override {
    allocator_->deallocate(block);
    return true;
  }

private:
  Pointer<Allocator> allocator_;
};

/// A new deallocation sink on `allocator` (reference count 0).
PureSink* createDeallocationSink(const Pointer<Allocator>& allocator);

/// Receives a pair of trace identifiers (`std::pair<int, int>*`) from a
/// liveness search: copies both, marks the search as successful and calls
/// `Checker::stop()`; answers true. `Checker` is not owned.
template <class Checker>
class TraceStopSink final : public ItemSink<TraceStopSink<Checker>, std::pair<int, int>> {
public:
  explicit TraceStopSink(Checker* checker) : checker_(checker) {}

  bool put(std::pair<int, int>* identifiers) {
    identifiers_ = *identifiers;
    found_ = true;
    checker_->stop();
    return true;
  }

  /// The last pair put in; both -1 before the first.
  const std::pair<int, int>& identifiers() const { return identifiers_; }
  bool found() const { return found_; }

private:
  std::pair<int, int> identifiers_{-1, -1};
  Checker* checker_;
  bool found_ = false;
};

} // namespace orvela
