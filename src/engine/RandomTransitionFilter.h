#pragma once
// Move enumeration in random order, for searches that should not favour the
// order in which the model lists its edges.

#include "engine/MoveEnumerator.h"
#include "engine/Pipeline.h"
#include "engine/StateBlocks.h"
#include "symbolic/GlobalStateReference.h"

#include <cstddef>
#include <vector>

namespace orvela {

/// `tryPut(GlobalStateReference* ref)`: collects the enabled moves of the
/// state behind `ref` (see `MoveEnumerator`), shuffles them with `lrand48`
/// (for i from 1 to k - 1, candidate i is exchanged with candidate
/// lrand48() mod i, so no candidate keeps its place), emits each with its own
/// copy of the state, which the sink owns, then releases the reference with
/// `release(!getFlag())`; answers true.
class NewRandomTransitionFilter final
    : public ItemFilter<NewRandomTransitionFilter, GlobalStateReference> {
public:
  NewRandomTransitionFilter(const Pointer<System>& system, const Pointer<Allocator>& allocator);
  /// Returns the scratch state to the allocator.
  ~NewRandomTransitionFilter() override;

  bool put(GlobalStateReference* ref);

private:
  Pointer<System> system_;
  StateBlocks blocks_;
  MoveEnumerator moves_;
  GlobalState* scratch_;
  /// The candidates' edges, each move null-terminated, one after another.
  std::vector<const Transition*> edges_;
  /// Where each candidate starts in `edges_`.
  std::vector<std::size_t> candidates_;
};

/// A new filter (reference count 0).
Filter* createRandomTransitionFilter(const Pointer<System>& system,
                                     const Pointer<Allocator>& allocator);

} // namespace orvela
