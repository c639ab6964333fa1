#pragma once
// The moves of a parallel search: one segment per worker, so that recording a
// move takes no lock. A move recorded by one worker may follow a state that
// another recorded; entries are never changed, and paths are read only after
// every worker has stopped.

#include "checkers/TraceSegment.h"

#include <vector>

namespace orvela {

/// The segments of the workers of one search (see `TraceSegment`).
class TraceSegments {
public:
  explicit TraceSegments(unsigned workers);

  /// The recorder of `worker` (below the number of workers), owned by the
  /// segments.
  TraceRecorder* recorder(unsigned worker) const { return segments_[worker].get(); }
  /// Copies the path from its root to entry `id` into `into`, each move
  /// after the one before, the first after entry `start` of `into`; answers
  /// the entry of the last move (`start` for a root). Only once no worker
  /// records any more.
  int copyPath(int id, TraceStore& into, int start) const;

private:
  std::vector<Pointer<TraceSegment>> segments_;
};

} // namespace orvela
