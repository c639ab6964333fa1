#include "checkers/TraceSegment.h"

#include "base/Exceptions.h"

#include <limits>

namespace orvela {

int TraceSegment::put(const Transition* const* moves, int predecessor) {
  const std::size_t k = predecessors_.size();
  if (k > (std::size_t(std::numeric_limits<int>::max()) - index_) / count_)
    throw RuntimeError("Too many trace entries");
  predecessors_.push_back(predecessor);
  starts_.push_back(edges_.size());
  for (; moves && *moves; ++moves)
    edges_.push_back(*moves);
  edges_.push_back(nullptr);
  return int(k * count_ + index_);
}

} // namespace orvela
