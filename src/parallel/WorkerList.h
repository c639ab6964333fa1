#pragma once
// What the workers of a parallel search share, and the passed/waiting list
// each of them sees: a view that puts into and takes from the shared,
// partitioned list and decides together with the other views when the
// search is over.

#include "pwlist/PWList.h"
#include "pwlist/PartitionedPWList.h"
#include "symbolic/GlobalStateReference.h"

#include <atomic>

namespace orvela {

/// The list, the stop flag and the count of idle workers of one search.
struct SharedSearch {
  SharedSearch(unsigned workers, unsigned partitions, const PartitionedPWList::ListMaker& make)
      : list(partitions, make), workers(workers) {}

  PartitionedPWList list;
  const unsigned workers;
  /// Set when a goal was found or a worker failed: every worker stops at its
  /// next take.
  std::atomic<bool> stop{false};
  /// Set once every worker was idle at the same time: nothing waits and
  /// nothing is being expanded, so nothing new can come.
  std::atomic<bool> done{false};
  /// Workers that found no waiting state and have not taken one since.
  std::atomic<unsigned> idle{0};
};

/// The list one worker's search runs over. Puts go to the shared list; a take
/// copies a waiting state into the view's scratch state, so that no lock is
/// held while the worker expands it. When no state waits, the view waits for
/// one until every worker is idle at once (the search is over: answers
/// false) or the search is stopped. Not itself shared: one per worker.
class WorkerList final : public PWList {
public:
  /// `scratch` is a state of the model's shape, owned by the caller and
  /// outliving the view; the worker owns the partitions `home`, `home` plus
  /// the number of workers, ... (see `PartitionedPWList::take`).
  WorkerList(SharedSearch& shared, GlobalState* scratch, unsigned home)
      : shared_(shared), scratch_(scratch), reference_(scratch), cursor_(home) {}

  /// `tryPut(WaitingState*)`: see `PartitionedPWList::put`.
  bool tryPut(void* item) override;
  /// `tryGet(GlobalStateReference**)`: a reference to the scratch state,
  /// valid until the next call.
  bool tryGet(void* out) override;
  /// Waiting entries of every partition.
  std::size_t getSize() const override;
  /// The shared list is not the view's to enumerate or forget: a parallel
  /// search is never continued. Both throw `Bug`.
  Pointer<PureSource> enumStates() const override;
  void clear() override;
  void setSimulation(const Pointer<ClockBounds>& bounds) override;

private:
  /// Waits for a waiting state; false when the search is over or stopped.
  bool awaitWork();

  SharedSearch& shared_;
  GlobalState* scratch_;
  GlobalStateReferenceWrapper reference_;
  unsigned cursor_;
};

} // namespace orvela
