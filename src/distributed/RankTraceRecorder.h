#pragma once
// The trace entries one process of a distributed search records. An entry's
// predecessor may have been recorded by another process, so identifiers name
// the process and the local entry: local * ranks + rank.

#include "checkers/TraceStore.h"
#include "model/System.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace orvela {

/// Numbers the edges of a system 0, 1, ... in process order, then edge
/// order, so that processes that loaded the same model name an edge alike.
class EdgeNumbering {
public:
  explicit EdgeNumbering(const System& system);
  /// The number of `edge`, an edge of the system (Bug otherwise).
  std::int32_t numberOf(const Transition* edge) const;
  /// The edge numbered `number` (Bug for a number out of range).
  const Transition* edge(std::int32_t number) const;

private:
  std::vector<const Transition*> edges_;
  std::unordered_map<const Transition*, std::int32_t> numbers_;
};

/// The entries of one process: per entry the predecessor's identifier and the
/// move's edges. Entry k of process r has identifier k * ranks + r.
class RankTraceRecorder final : public TraceRecorder {
public:
  RankTraceRecorder(int rank, int ranks) : rank_(rank), ranks_(ranks) {}
  /// Throws RuntimeError when the identifier would leave the int range.
  int put(const Transition* const* moves, int predecessor) override;
  /// Whether `id` names an entry recorded here.
  bool holds(int id) const;
  /// The predecessor of entry `id` (held here), -1 for a root.
  int predecessorOf(int id) const { return predecessors_[local(id)]; }
  /// The edges of entry `id`, numbered by `numbering`; empty for a root.
  std::vector<std::int32_t> movesOf(int id, const EdgeNumbering& numbering) const;

private:
  std::size_t local(int id) const { return std::size_t(id / ranks_); }

  int rank_;
  int ranks_;
  std::vector<int> predecessors_;
  /// Where the edges of entry k start in `edges_`; one more at the end.
  std::vector<std::size_t> starts_{0};
  std::vector<const Transition*> edges_;
};

} // namespace orvela
