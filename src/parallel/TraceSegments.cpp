#include "parallel/TraceSegments.h"

namespace orvela {

TraceSegments::TraceSegments(unsigned workers) {
  for (unsigned w = 0; w < workers; ++w)
    segments_.push_back(new TraceSegment(w, workers));
}

int TraceSegments::copyPath(int id, TraceStore& into, int start) const {
  std::vector<const Transition* const*> moves;
  for (; id >= 0;) {
    const TraceSegment& segment = *segments_[unsigned(id) % segments_.size()];
    const int predecessor = segment.predecessorOf(id);
    if (predecessor >= 0)
      moves.push_back(segment.movesOf(id));
    id = predecessor;
  }
  int last = start;
  for (auto move = moves.rbegin(); move != moves.rend(); ++move)
    last = into.put(*move, last);
  return last;
}

} // namespace orvela
