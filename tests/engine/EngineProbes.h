#pragma once
// Probes for the engine tests: a reference that records its release, and a
// sink that records the moves and states that reach it.

#include "engine/Pipeline.h"
#include "engine/StateBlocks.h"
#include "engine/SuccessorPair.h"
#include "support/ModelText.h"
#include "support/StateFixtures.h"
#include "symbolic/Allocator.h"
#include "symbolic/GlobalState.h"
#include "symbolic/GlobalStateReference.h"

#include <string>
#include <vector>

namespace orvela::test {

/// A reference to a state held by the test: both halves are read from it, the
/// flag is set, and every release is recorded.
class HeldState final : public GlobalStateReference {
public:
  explicit HeldState(const GlobalState* state) : state_(state) {}

  void writeDiscreteTo(GlobalState* target) override { state_->discreteCopy(target); }
  void writeSymbolicTo(GlobalState* target) override {
    state_->getRegion()->unpackTo(target->getUnpackedRegion());
  }
  bool getFlag() override { return true; }
  void release(bool drop) override { releases.push_back(drop); }
  void remove() override {} // lives on the test's stack

  std::vector<bool> releases;

private:
  const GlobalState* state_;
};

/// Records every successor pair: the move's edge names and a heap copy of the
/// state. It owns the states it receives and returns them to `owned`.
class MoveRecorder final : public ItemSink<MoveRecorder, SuccessorPair> {
public:
  explicit MoveRecorder(Allocator* owned) : owned_(owned) {}

  bool put(SuccessorPair* pair) {
    moves.push_back(moveName(pair->second));
    states.emplace_back(pair->first->unpackedCopy());
    owned_->deallocate(pair->first);
    return true;
  }

  std::vector<std::string> moves;
  std::vector<Pointer<GlobalState>> states;

private:
  Allocator* owned_;
};

/// A model written in the description language, its initial state, and
/// states in blocks of the stages' allocator.
struct Model {
  explicit Model(const std::string& text)
      : system(loadSystem(text)),
        allocator(createChunkAllocator(system ? system->getSizeOfUnpackedState() : 8)),
        blocks(*system, allocator), initial(system ? system->calcInitial() : nullptr) {}

  /// A block state equal to the initial one after delay, with clock x in
  /// [low, high].
  GlobalState* state(int low, int high) {
    GlobalState* state = blocks.copyOf(*initial);
    state->delayAction();
    restrictClock(state, 1, low, high);
    return state;
  }

  Pointer<System> system;
  Pointer<Allocator> allocator;
  StateBlocks blocks;
  Pointer<GlobalState> initial;
};

} // namespace orvela::test
