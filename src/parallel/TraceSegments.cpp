#include "parallel/TraceSegments.h"

#include "base/Exceptions.h"

#include <cstdint>
#include <limits>

namespace orvela {

/// One worker's entries, laid out as in the sequential store: the
/// predecessor's identifier, then the edges of the move ended by a null word
/// (a root entry has neither).
class TraceSegments::Segment final : public TraceRecorder {
public:
  Segment(unsigned worker, unsigned workers) : worker_(worker), workers_(workers) {}

  int put(const Transition* const* moves, int predecessor) override {
    const std::size_t index = words_.size();
    if (index > std::size_t(std::numeric_limits<int>::max() - worker_) / workers_)
      throw RuntimeError("Too many trace entries");
    words_.push_back(reinterpret_cast<const Transition*>(static_cast<intptr_t>(predecessor)));
    if (moves) {
      for (; *moves; ++moves)
        words_.push_back(*moves);
      words_.push_back(nullptr);
    }
    return int(index * workers_ + worker_);
  }

  int predecessorOf(std::size_t index) const {
    return int(reinterpret_cast<intptr_t>(words_[index]));
  }
  const Transition* const* movesOf(std::size_t index) const { return words_.data() + index + 1; }

private:
  unsigned worker_;
  unsigned workers_;
  std::vector<const Transition*> words_;
};

TraceSegments::TraceSegments(unsigned workers) {
  for (unsigned w = 0; w < workers; ++w) {
    segments_.push_back(new Segment(w, workers));
    recorders_.emplace_back(segments_.back());
  }
}

int TraceSegments::copyPath(int id, TraceStore& into, int start) const {
  const auto workers = unsigned(segments_.size());
  std::vector<const Transition* const*> moves;
  for (; id >= 0;) {
    const Segment& segment = *segments_[unsigned(id) % workers];
    const std::size_t index = unsigned(id) / workers;
    const int predecessor = segment.predecessorOf(index);
    if (predecessor >= 0)
      moves.push_back(segment.movesOf(index));
    id = predecessor;
  }
  int last = start;
  for (auto move = moves.rbegin(); move != moves.rend(); ++move)
    last = into.put(*move, last);
  return last;
}

} // namespace orvela
