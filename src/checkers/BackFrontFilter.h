#pragma once
// The depth-first buffer of the liveness search: successors wait on a pending
// list, the last one first; a successor taken from it becomes the new top of
// the search path unless an explored state covers it.

#include "checkers/FrontStack.h"
#include "checkers/PathStep.h"
#include "engine/Pipeline.h"
#include "engine/StorageReduction.h"
#include "model/System.h"
#include "pwlist/PWList.h"
#include "symbolic/Allocator.h"

#include <vector>

namespace orvela {

/// `tryPut(MoveSuccessor*)` keeps a copy of the step on the pending list (the
/// state now belongs to the buffer) and answers true. `tryGet(Successor*)`
/// first pops the path nodes that are finished (no successor pushed after
/// them is still pending), then takes pending steps, newest first, until one
/// is not covered by an explored state: that one is pushed on the path and
/// written to the output (its state stays on the path until popped); answers
/// false when nothing is pending.
///
/// The passed list holds only states whose exploration is finished. A state
/// on the path is not there: a successor that a path state covers may still
/// lie on an infinite run that the path state's own exploration does not
/// see (the loop back through the path may not repeat), so it is explored
/// too. A state enters the list when it is popped, finished, and from then
/// on prunes every state it covers: the runs from those are runs from it,
/// all of which the search has looked at.
class BackFrontFilter final : public Buffer {
public:
  BackFrontFilter(const Pointer<System>& system, FrontStack& path, std::vector<PathStep>& pending,
                  const Pointer<PWList>& passed, const Pointer<Allocator>& allocator,
                  StorageReduction reduction);

  bool tryPut(void* item) override;
  bool tryGet(void* out) override;
  /// 0: the buffer reports no load.
  std::size_t getSize() const override { return 0; }

  /// Empties the path and the pending list, returning every state to the
  /// allocator, without recording anything in the passed list (the search was
  /// stopped).
  void abandon();

private:
  /// Whether a state of the passed list covers the state of `step`. The
  /// state is offered to the list; if the list accepts it, the entry is
  /// forgotten again at once.
  bool covered(const PathStep& step);
  /// Pops the finished path node: its state joins the passed list and goes
  /// back to the allocator.
  void finishTop();

  Pointer<Filter> converter_;
  FrontStack& path_;
  std::vector<PathStep>& pending_;
  Pointer<PWList> passed_;
  Pointer<Allocator> allocator_;
};

/// A new buffer (reference count 0).
BackFrontFilter* createBackFrontFilter(const Pointer<System>& system, FrontStack& path,
                                       std::vector<PathStep>& pending,
                                       const Pointer<PWList>& passed,
                                       const Pointer<Allocator>& allocator,
                                       StorageReduction reduction);

} // namespace orvela
