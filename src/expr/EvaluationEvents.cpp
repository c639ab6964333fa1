#include "expr/EvaluationEvents.h"

namespace orvela {

int EvaluationEvents::addPlace(const std::string& where) {
  if (places_.empty() || places_.back() != where)
    places_.push_back(where);
  return static_cast<int>(places_.size()) - 1;
}

EvaluationEvents::Tally EvaluationEvents::tally(EvaluationEvent kind) const {
  const Counter& counter = counters_[static_cast<std::size_t>(kind)];
  if (counter.count == 0)
    return {};
  return {counter.count, places_.at(static_cast<std::size_t>(counter.firstPlace))};
}

} // namespace orvela
