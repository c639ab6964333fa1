#pragma once
// Terminal sinks that end a search: they record what was found and tell the
// searching member to stop.

#include "engine/Pipeline.h"

#include <utility>

namespace orvela {

/// Receives a pair of trace identifiers (`std::pair<int, int>*`) from a
/// liveness search: copies both, marks the search as successful and calls
/// `Checker::stop()`; answers true. `Checker` is not owned.
template <class Checker>
class TraceStopSink final : public ItemSink<TraceStopSink<Checker>, std::pair<int, int>> {
public:
  explicit TraceStopSink(Checker* checker) : checker_(checker) {}

  bool put(std::pair<int, int>* identifiers) {
    identifiers_ = *identifiers;
    found_ = true;
    checker_->stop();
    return true;
  }

  /// The last pair put in; both -1 before the first.
  const std::pair<int, int>& identifiers() const { return identifiers_; }
  bool found() const { return found_; }

private:
  std::pair<int, int> identifiers_{-1, -1};
  Checker* checker_;
  bool found_ = false;
};

} // namespace orvela
