#pragma once
// Unpacked states of the loaded model built in the blocks of one allocator:
// how every stage of a search makes, copies and drops its states.

#include "model/System.h"
#include "symbolic/Allocator.h"
#include "symbolic/GlobalState.h"

namespace orvela {

/// The shape of the model's states (processes, integers, clocks, read from the
/// system and its tables at construction) and the allocator whose
/// blocks hold them. The blocks must be at least
/// `System::getSizeOfUnpackedState()` bytes.
class StateBlocks {
public:
  StateBlocks(const System& system, const Pointer<Allocator>& allocator);

  /// A new state in a fresh block: locations 0, integers and bounds
  /// unspecified, no touched clock.
  GlobalState* create() const {
    return GlobalState::createUnpacked(processes_, integers_, clocks_, allocator_->allocate());
  }
  /// A new state in a fresh block holding the discrete part and the zone of
  /// `state` (unpacked).
  GlobalState* copyOf(const GlobalState& state) const {
    return state.unpackedCopy(allocator_->allocate());
  }
  /// Returns the block of a state made by this allocator; the state holds
  /// nothing outside its block, so nothing else is freed.
  void drop(GlobalState* state) const { allocator_->deallocate(state); }

  const Pointer<Allocator>& allocator() const { return allocator_; }

private:
  Pointer<Allocator> allocator_;
  int processes_;
  int integers_;
  int clocks_;
};

} // namespace orvela
