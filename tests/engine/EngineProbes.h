#pragma once
// Probes for the engine tests: sinks and filters that record what reaches
// them and count their live instances, a reference that records its release,
// and a sink that records the moves and states that reach it.

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

/// Counts the live instances of a probe, to prove that owners release them.
struct LiveCount {
  static inline int live = 0;
  LiveCount() { ++live; }
  LiveCount(const LiveCount&) { ++live; }
  ~LiveCount() { --live; }
};

/// Records every item and answers `answer`.
class RecordingSink : public PureSink, private LiveCount {
public:
  explicit RecordingSink(bool answer = true) : answer(answer) {}
  bool tryPut(void* item) override {
    items.push_back(item);
    return answer;
  }
  bool answer;
  std::vector<void*> items;
};

/// Records every sink attached, in order, and passes items to the last one.
class RecordingFilter : public Filter, private LiveCount {
public:
  void setSink(Sink* next) override { sinks.push_back(next); }
  bool tryPut(void* item) override {
    items.push_back(item);
    return sinks.empty() || sinks.back()->tryPut(item);
  }
  std::vector<Sink*> sinks;
  std::vector<void*> items;
};

/// Any address usable as an item.
inline void* item(int& value) { return &value; }

/// A reference to a state held by the test: both halves are read from it, the
/// flag is chosen, and every release is recorded.
class HeldState final : public GlobalStateReference {
public:
  explicit HeldState(const GlobalState* state, bool flag = true) : state_(state), flag_(flag) {}

  void writeDiscreteTo(GlobalState* target) override { state_->discreteCopy(target); }
  void writeSymbolicTo(GlobalState* target) override {
    ++symbolicReads;
    state_->getRegion()->unpackTo(target->getUnpackedRegion());
  }
  bool getFlag() override { return flag_; }
  void release(bool drop) override { releases.push_back(drop); }
  void remove() override {} // lives on the test's stack

  std::vector<bool> releases;
  int symbolicReads = 0;

private:
  const GlobalState* state_;
  bool flag_;
};

/// Records every successor pair: the move's edge names and a heap copy of the
/// state. With an allocator it owns the states it receives and returns them;
/// with `scribble` it then overwrites the received state's first location and
/// last clock, as a later stage would, so that a state shared between two
/// pairs shows.
class MoveRecorder final : public ItemSink<MoveRecorder, SuccessorPair> {
public:
  explicit MoveRecorder(Allocator* owned = nullptr, bool answer = true)
      : owned_(owned), answer_(answer) {}

  bool put(SuccessorPair* pair) {
    moves.push_back(moveName(pair->second));
    states.emplace_back(pair->first->unpackedCopy());
    if (scribble) {
      pair->first->setLocation(0, 0xffff);
      pair->first->getUnpackedRegion()->reset(pair->first->getUnpackedRegion()->getDim() - 1, 77);
    }
    if (owned_)
      owned_->deallocate(pair->first);
    return answer_;
  }

  std::vector<std::string> moves;
  std::vector<Pointer<GlobalState>> states;
  bool scribble = false;

private:
  Allocator* owned_;
  bool answer_;
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
