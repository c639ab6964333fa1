#pragma once
// Members that hand one item to several sinks: the repeaters, which feed every
// attached sink, and the branches, which choose a sink by the answer of a
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

/// The branch point of a three-way `pipe` group: the first sink attached is
/// the condition, the second the "then" sink, the third the "else" sink;
/// `tryPut(x)` answers `then->tryPut(x)` if the condition accepts x, otherwise
/// `else->tryPut(x)`. A fourth `setSink`, or an item before all three are
/// attached, throws Bug.
class NewIfThenElseFilter final : public Filter {
public:
  void setSink(Sink* next) override;
  bool tryPut(void* item) override;

private:
  Sink* sinks_[3] = {nullptr, nullptr, nullptr};
  int attached_ = 0;
};

/// Factories; each returns a new object with reference count 0.
Filter* createRepeater();
Filter* createNewIfThenElseFilter();

} // namespace orvela
