#pragma once
// The moves of a parallel search: one segment per worker, so that recording a
// move takes no lock. A move recorded by one worker may follow a state that
// another recorded; entries are never changed, and paths are read only after
// every worker has stopped.

#include "checkers/TraceStore.h"

#include <vector>

namespace orvela {

/// The segments of the workers of one search. The identifier of an entry is
/// its index in its segment times the number of workers plus the worker, so
/// that each worker has a share of the `int` range of its own.
class TraceSegments {
public:
  explicit TraceSegments(unsigned workers);

  /// The recorder of `worker` (below the number of workers), owned by the
  /// segments. It throws `RuntimeError` when identifiers would leave the int
  /// range, like the sequential store.
  TraceRecorder* recorder(unsigned worker) const { return recorders_[worker].get(); }
  /// Copies the path from its root to entry `id` into `into`, each move
  /// after the one before, the first after entry `start` of `into`; answers
  /// the entry of the last move (`start` for a root). Only once no worker
  /// records any more.
  int copyPath(int id, TraceStore& into, int start) const;

private:
  class Segment;

  /// The segments, owned through `recorders_`.
  std::vector<Segment*> segments_;
  std::vector<Pointer<TraceRecorder>> recorders_;
};

} // namespace orvela
