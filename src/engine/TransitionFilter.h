#pragma once
// Move enumeration on a plain state that the filter does not own.

#include "engine/MoveEnumerator.h"
#include "engine/Pipeline.h"

#include <memory>
#include <vector>

namespace orvela {

/// `tryPut(GlobalState* s)`: emits (s, move) for every enabled move of s (see
/// `MoveEnumerator` for the moves and their order), ignoring the sink's
/// answers, and answers true. s is left unchanged and stays the caller's; a
/// receiver that needs a state of its own copies it. The filter may be
/// re-entered from its sink (the expansion filter puts successors back into
/// it): each nesting level enumerates with tables of its own.
class TransitionFilter final : public ItemFilter<TransitionFilter, GlobalState> {
public:
  explicit TransitionFilter(const Pointer<System>& system);

  bool put(GlobalState* state);

private:
  Pointer<System> system_;
  /// One enumerator per nesting level, made when a level is first reached.
  std::vector<std::unique_ptr<MoveEnumerator>> levels_;
  std::size_t depth_ = 0;
};

/// A new filter (reference count 0).
Filter* createTransitionFilter(const Pointer<System>& system);

} // namespace orvela
