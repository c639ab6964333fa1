#pragma once
// The symbolic search: the passed/waiting list, the successor pipeline and the
// loop that feeds it, as one compound filter whose output is every new state.

#include "checkers/TraceStore.h"
#include "engine/CompoundFilter.h"
#include "engine/NormalisationFilter.h"
#include "engine/NormalisationInfo.h"
#include "engine/StorageReduction.h"
#include "pwlist/PWList.h"
#include "symbolic/Allocator.h"

#include <cstdint>

namespace orvela {

class GlobalState;
class System;

/// `tryPut(GlobalState* initial)` rebuilds the pipeline, empties the list and
/// searches from a copy of `initial` (which stays the caller's); `tryPut(null)`
/// continues the previous search: with reuse it first shows every stored
/// state to the sink again (through an `ExpansionFilter`), then it explores
/// the states still waiting. Answers true.
///
/// Per state taken from the list the pipeline is
///   transitions → [progress] → successor → [trace store] → delay →
///   normalisation → waiting-state record → [active clocks] →
///   list accepts ? state → sink : state → back to the allocator
/// The initial state enters at the delay stage. The sink owns the states it
/// receives, blocks of the search's allocator (`allocator()`).
class ReachabilityFilter final : public SearchFilter {
public:
  /// Takes ownership of `list`; `traceStore` may be null (no trace entries).
  ReachabilityFilter(const Pointer<System>& system, PWList* list,
                     const Pointer<TraceRecorder>& traceStore,
                     StorageReduction reduction = StorageReduction::dropUnnecessaryCommitted);

  bool tryPut(void* initial) override;
  /// What `tryPut(initial)` does, in three steps, so that a parallel search
  /// can build every worker's pipeline on the thread that owns the model and
  /// let each explore on a thread of its own. `prepare` builds a fresh
  /// pipeline and empties the list; `seed` puts a copy of `initial` into it
  /// at the delay stage; `explore` expands waiting states until the list
  /// hands out none or a stop is requested.
  void prepare();
  void seed(const GlobalState& initial);
  void explore();
  /// Offers `state`, a block of `allocator()` that the filter now owns, to
  /// the list as the pipeline's last stage does (store flag `store`): an
  /// accepted state goes on to the sink, a refused one back to the
  /// allocator. For states that reach the list from outside the pipeline,
  /// e.g. successors another process computed. `prepare` must have run.
  void admit(GlobalState* state, bool store);
  /// `next` receives every new state, also from the expansion filter.
  void setSink(Sink* next) override;
  /// Ends the search after the state being expanded.
  void requestStop() override { stop_ = true; }
  /// Frees the clocks no current location uses (from the next search on).
  void setActiveClocks(bool active) { active_ = active; }
  /// Leaves out the progress line (from the next search on; true at start).
  void setSilent(bool silent) { silent_ = silent; }
  /// Builds the expansion filter for tryPut(null) (from the next search on).
  void setReuse(bool reuse) { reuse_ = reuse; }
  /// Sets the constants the zones are normalised with (copied), and the
  /// abstraction: how zones are widened (see
  /// `NormalisationFilter::setConstants`) and compared (see
  /// `PWList::setSimulation`). Takes effect at once, also in a search that is
  /// continued.
  void setConstants(const NormalisationInfo& info, const Abstraction& abstraction = {});
  /// Makes `clock` (-1: none) the cost clock of the searches from the next
  /// on: after normalisation its upper bounds are dropped and states above
  /// `*cutoff` are dropped (see `CostClockFilter`). `cutoff` must outlive
  /// the searches.
  void setCostClock(int clock, const int* cutoff) {
    costClock_ = clock;
    cutoff_ = cutoff;
  }

  /// States taken from the waiting list since the current search started.
  std::uint64_t exploredStates() const { return list_->getExplored(); }
  /// States the list accepted since the current search started.
  std::uint64_t storedStates() const { return list_->getStored(); }
  PWList& list() const { return *list_; }
  const Pointer<Allocator>& allocator() const { return allocator_; }
  const NormalisationInfo& normalisationInfo() const { return info_; }

private:
  Pointer<TraceRecorder> traceStore_;
  Pointer<System> system_;
  StorageReduction reduction_;
  Pointer<PWList> list_;
  Pointer<Allocator> allocator_;
  bool active_ = false;
  bool silent_ = true;
  bool reuse_ = false;
  int costClock_ = -1;
  const int* cutoff_ = nullptr;
  Filter* delay_ = nullptr;
  Filter* expansion_ = nullptr;
  Filter* transition_ = nullptr;
  Filter* successor_ = nullptr;
  NormalisationFilter* normalisation_ = nullptr;
  NormalisationInfo info_;
  Abstraction abstraction_;
  Pointer<Filter> then_;
  Sink* head_ = nullptr;
  Sink* branch_ = nullptr; ///< the list's decision, the pipeline's last stage
  Sink* finalSink_ = nullptr;
  bool stop_ = false;
};

/// A new state-space filter over a list made by `makeList()` (reference count
/// 0).
ReachabilityFilter* createStateSpaceFilter(const Pointer<System>& system, PWList* list,
                                           const Pointer<TraceRecorder>& traceStore,
                                           StorageReduction reduction);

} // namespace orvela
