#pragma once
// The trace entries of one of several recorders that share one identifier
// space: the workers of a parallel search, or the processes of a distributed
// one. Each records without asking the others, and a move may name a
// predecessor that another recorded.

#include "checkers/TraceStore.h"

#include <cstddef>
#include <vector>

namespace orvela {

/// Recorder `index` of `count`: its entry k has identifier k * count + index.
class TraceSegment final : public TraceRecorder {
public:
  /// `index` below `count`.
  TraceSegment(unsigned index, unsigned count) : index_(index), count_(count) {}

  /// Throws RuntimeError when the identifier would leave the int range.
  int put(const Transition* const* moves, int predecessor) override;
  /// Whether `id` names an entry recorded here.
  bool holds(int id) const {
    return id >= 0 && unsigned(id) % count_ == index_ && local(id) < predecessors_.size();
  }
  /// The predecessor of entry `id` (held here), -1 for a root.
  int predecessorOf(int id) const { return predecessors_[local(id)]; }
  /// The null-terminated edges of entry `id` (held here), none for a root;
  /// valid until the next `put`.
  const Transition* const* movesOf(int id) const { return edges_.data() + starts_[local(id)]; }

private:
  std::size_t local(int id) const { return unsigned(id) / count_; }

  unsigned index_;
  unsigned count_;
  std::vector<int> predecessors_;
  /// Where the edges of each entry start in `edges_`.
  std::vector<std::size_t> starts_;
  /// The edges of every entry, each entry's ended by a null.
  std::vector<const Transition*> edges_;
};

} // namespace orvela
