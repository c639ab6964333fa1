#pragma once
// A passed/waiting list that several threads use at once. The states are
// split into partitions by the hash of their discrete part; each partition is
// a default list (`HashingPWList`) behind its own mutex. States that may cover
// one another share their discrete part, hence their partition, so an
// insertion locks exactly one partition and threads working on different
// discrete parts rarely wait for each other.

#include "pwlist/PWList.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace orvela {

class GlobalState;

/// The partitions and their locks. Every member may be called from any
/// thread at any time, except `setSimulation` and `partition`, which need the
/// list to be idle.
class PartitionedPWList {
public:
  /// Makes one partition: a new, empty list of the kind the search uses.
  using ListMaker = std::function<PWList*()>;

  /// `partitions` (at least 1) lists, each made by `make`.
  PartitionedPWList(unsigned partitions, const ListMaker& make);

  /// Offers a state to its partition (see `PWList::tryPut`): true when it was
  /// stored and queued, false when a stored state covers it.
  bool put(const WaitingState& offered);
  /// Takes a waiting state and copies its discrete part and zone into
  /// `target` (a state of the list's shape). The state is released at once:
  /// kept as passed when its store flag is set, forgotten otherwise, so no
  /// partition stays locked while the caller explores it. A taker owns the
  /// partitions `cursor`, `cursor + stride`, ... (modulo the count, a
  /// multiple of `stride`): it takes from them in turn, each until it is
  /// empty (a partition's states lie together in memory), and only then
  /// from every partition, in index order. `cursor` stays at the own
  /// partition last taken from.
  /// False, `target` unchanged, when no partition had a waiting state.
  bool take(unsigned& cursor, unsigned stride, GlobalState* target);
  /// The waiting entries of every partition (some may be states dropped
  /// since, which a take skips), each as of its last put or take: a look
  /// that takes no lock.
  std::size_t waiting() const;

  /// The partition of a state with discrete hash `hash`. Mixed so that the
  /// partition and the bucket within it (hash modulo the bucket count) are
  /// chosen by different bits.
  unsigned partitionOf(unsigned hash) const {
    return unsigned((uint64_t(hash * 2654435761u) * count_) >> 32);
  }
  unsigned partitionCount() const { return count_; }
  /// Zones compared by LU simulation from now on (see `PWList`).
  void setSimulation(const Pointer<ClockBounds>& bounds);
  /// The list of partition `index`, for reading its states and counts.
  const PWList& partition(unsigned index) const { return *parts_[index].list; }

  /// Sums over the partitions: states accepted and states handed out.
  std::uint64_t stored() const { return sum(&PWList::getStored); }
  std::uint64_t explored() const { return sum(&PWList::getExplored); }

private:
  /// A partition on a cache line of its own, so that locking one does not
  /// slow down the threads using its neighbours.
  struct alignas(64) Part {
    mutable std::mutex lock;
    Pointer<PWList> list;
    /// The list's waiting entries, written under the lock after each put
    /// and take, read without it. On the partition's own cache line, so
    /// that counting costs the hot path no line shared between cores.
    std::atomic<std::size_t> waiting{0};
  };

  /// Takes the next waiting state of partition `index`, if it has one.
  bool takeFrom(unsigned index, GlobalState* target);
  /// `count` of every partition, added up, each read under its lock.
  std::uint64_t sum(std::uint64_t (PWList::*count)() const) const;

  unsigned count_;
  std::unique_ptr<Part[]> parts_;
};

} // namespace orvela
