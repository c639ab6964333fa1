#pragma once
// The convex-hull passed/waiting list: at most one stored zone per discrete
// part. A new zone that the stored one does not include is merged into it by
// convex hull, so the stored zone of a discrete part only grows and the
// search explores an over-approximation of the reachable zones.

#include "pwlist/HashingPWList.h"

namespace orvela {

class ConvexHullPWList final : public ChunkPWListBase {
public:
  ConvexHullPWList(unsigned buckets, const Pointer<Store>& prototype, const StateShape& shape);

  /// `item` is a `WaitingState*`. Without a stored state of the same discrete
  /// part the state is stored and queued (true). A stored zone that includes
  /// the new one rejects it (false). Otherwise the stored zone becomes the new
  /// zone (when it includes the stored one) or the convex hull of both, the
  /// offered state's zone is overwritten with that hull as well, and the
  /// grown state waits to be explored (again); the answer is true. The grown
  /// state keeps its trace identifier and, while waiting, its store flag; a
  /// passed state goes back with the flag set.
  bool tryPut(void* item) override;
  /// Also: no two stored states share a discrete part.
  std::string checkConsistency() const override;
};

} // namespace orvela
