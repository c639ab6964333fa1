#pragma once
// Members that hand one item to several sinks: the repeater, which feeds every
// attached sink, and the branch, which chooses a sink by the answer of a
// condition sink. A condition sink is an ordinary sink: its `tryPut` may
// consume the item (the passed/waiting list stores it) and its answer is the
// decision.

#include "engine/Pipeline.h"

#include <vector>

namespace orvela {

/// Puts every item into each attached sink in order of attachment, ignores
/// their answers and answers true (also with no sinks).
class Repeater : public Filter {
public:
  /// Adds a sink behind the earlier ones.
  void setSink(Sink* next) override { sinks_.push_back(next); }
  bool tryPut(void* item) override;

protected:
  std::vector<Sink*> sinks_;
};

/// `tryPut(x)`: if `condition` accepts x, answers `then->tryPut(x)`,
/// otherwise `otherwise->tryPut(x)`. The three sinks are not owned and must
/// outlive the branch.
class Branch final : public PureSink {
public:
  Branch(Sink& condition, Sink& then, Sink& otherwise)
      : condition_(condition), then_(then), otherwise_(otherwise) {}
  bool tryPut(void* item) override {
    return condition_.tryPut(item) ? then_.tryPut(item) : otherwise_.tryPut(item);
  }

private:
  Sink& condition_;
  Sink& then_;
  Sink& otherwise_;
};

/// A new repeater with reference count 0.
Filter* createRepeater();

} // namespace orvela
