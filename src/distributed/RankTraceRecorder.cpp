#include "distributed/RankTraceRecorder.h"

#include "base/Exceptions.h"
#include "model/Process.h"

#include <climits>

namespace orvela {

EdgeNumbering::EdgeNumbering(const System& system) {
  for (int p = 0; p < system.getProcessCount(); ++p)
    for (const Pointer<Transition>& edge : system.getProcess(p)->getTransitions()) {
      numbers_.emplace(edge.get(), std::int32_t(edges_.size()));
      edges_.push_back(edge.get());
    }
}

std::int32_t EdgeNumbering::numberOf(const Transition* edge) const {
  const auto found = numbers_.find(edge);
  if (found == numbers_.end())
    throw Bug("EdgeNumbering: an edge of another system");
  return found->second;
}

const Transition* EdgeNumbering::edge(std::int32_t number) const {
  if (number < 0 || std::size_t(number) >= edges_.size())
    throw Bug("EdgeNumbering: no edge %d", number);
  return edges_[std::size_t(number)];
}

int RankTraceRecorder::put(const Transition* const* moves, int predecessor) {
  const long long id = (long long)predecessors_.size() * ranks_ + rank_;
  if (id > INT_MAX)
    throw RuntimeError("Trace store full");
  predecessors_.push_back(predecessor);
  for (; moves && *moves; ++moves)
    edges_.push_back(*moves);
  starts_.push_back(edges_.size());
  return int(id);
}

bool RankTraceRecorder::holds(int id) const {
  return id >= 0 && id % ranks_ == rank_ && local(id) < predecessors_.size();
}

std::vector<std::int32_t> RankTraceRecorder::movesOf(int id, const EdgeNumbering& numbering) const {
  std::vector<std::int32_t> numbers;
  for (std::size_t k = starts_[local(id)]; k < starts_[local(id) + 1]; ++k)
    numbers.push_back(numbering.numberOf(edges_[k]));
  return numbers;
}

} // namespace orvela
