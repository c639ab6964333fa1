#include "pwlist/WaitingStateFilters.h"
#include "checkers/ExpansionFilter.h"
#include "checkers/TraceStore.h"
#include "dbm/RawBound.h"
#include "engine/EngineProbes.h"
#include "engine/StateBlocks.h"
#include "engine/StorageReduction.h"
#include "support/StateFixtures.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::findEdge;
using test::loadSystem;

/// Records the waiting-state records that reach it.
class RecordSink final : public ItemSink<RecordSink, WaitingState> {
public:
  bool put(WaitingState* record) {
    records.push_back(*record);
    return true;
  }
  std::vector<WaitingState> records;
};

// c is committed; d is committed but a loop entry (the cycle d -> e -> d).
const char* storeModel = "int [0,3] v := 0;\n"
                         "process P { clock x; state s0, c, d, e; commit c, d; init s0; trans "
                         "s0 -> c { }, s0 -> d { }, d -> e { }, e -> d { }, s0 -> s0 { }; }\n"
                         "system P;";

/// The store flag given to the state reached by P's edge from s0 to `target`
/// by the filter over successor pairs, or with `successors` the one over
/// successor records; the record carries the state and its discrete hash.
bool storeFlag(const Pointer<System>& system, const char* target, bool successors,
               StorageReduction reduction) {
  Pointer<Filter> filter = successors ? createSuccessorToWaitingStateFilter(system, reduction)
                                      : createPairToWaitingStateFilter(system, reduction);
  RecordSink sink;
  filter->setSink(&sink);
  Pointer<GlobalState> state = system->calcInitial();
  state->setLocation(0, test::locationIndex(*system, "P", target));
  const Transition* move[] = {findEdge(*system, "P", "s0", target), nullptr};
  SuccessorPair pair(state.get(), move);
  Successor successor{move[0], nullptr, state.get()};
  EXPECT_TRUE(successors ? filter->tryPut(&successor) : filter->tryPut(&pair));
  EXPECT_EQ(sink.records.size(), 1u);
  EXPECT_EQ(sink.records[0].state, state.get());
  EXPECT_EQ(sink.records[0].hash, discreteHash(state.get()));
  return sink.records[0].store;
}

TEST(SuccessorToWaitingStateFilters, TheReductionDecidesWhichStatesAreKept) {
  Pointer<System> system = loadSystem(storeModel);
  // Reduction 0 keeps all; 1 leaves out committed states that are no loop
  // entries; 2 every state that is no loop entry (s0 -> s0 makes s0 one).
  const std::tuple<int, const char*, bool> cases[] = {
      {0, "s0", true}, {0, "c", true}, {0, "d", true},  {1, "s0", true},
      {1, "c", false}, {1, "d", true}, {2, "s0", true}, {2, "c", false},
  };
  for (bool successors : {false, true})
    for (const auto& [reduction, target, kept] : cases) {
      EXPECT_EQ(storeFlag(system, target, successors, StorageReduction(reduction)), kept)
          << "reduction " << reduction << " " << target << (successors ? " (records)" : "");
    }
}

/// Sink owning the states it receives: records their locations and trace
/// identifiers and returns them.
class StateRecorder final : public ItemSink<StateRecorder, GlobalState> {
public:
  explicit StateRecorder(Allocator* allocator) : allocator_(allocator) {}
  bool put(GlobalState* state) {
    locations.push_back(state->getLocation(0));
    traceIds.push_back(state->getTraceId());
    allocator_->deallocate(state);
    return true;
  }
  std::vector<int> locations;
  std::vector<int> traceIds;

private:
  Allocator* allocator_;
};

TEST(ExpansionFilter, RegeneratesTheStatesTheReductionLeftOut) {
  // s0 -> c (committed) -> s1 -> s2, no loop: with reduction 1 the state in c
  // was not stored, with reduction 2 none after s0 was.
  Pointer<System> system =
      loadSystem("process P { clock x; state s0, c, s1, s2; commit c; init s0; trans "
                 "s0 -> c { assign x := 0; }, c -> s1 { }, s1 -> s2 { }; }\n"
                 "system P;");
  Pointer<Allocator> allocator = createChunkAllocator(system->getSizeOfUnpackedState());
  Pointer<MemoryTraceStore> store = new MemoryTraceStore();
  Pointer<GlobalState> stored = system->calcInitial();
  const int root = store->put(nullptr, -1);
  stored->setTraceId(root);
  const auto replay = [&](int reduction) {
    Pointer<Filter> filter =
        createExpansionFilter(system, store, allocator, StorageReduction(reduction));
    StateRecorder recorder(allocator.get());
    filter->setSink(&recorder);
    test::HeldState held(stored.get());
    EXPECT_TRUE(filter->tryPut(&held));
    EXPECT_TRUE(held.releases.empty());
    EXPECT_EQ(allocator->blocksOut(), 0u);
    return recorder;
  };
  // Each regenerated state is passed on after its own successors, the stored
  // state last.
  EXPECT_EQ(replay(0).locations, std::vector<int>{0});
  const StateRecorder committedOnly = replay(1);
  EXPECT_EQ(committedOnly.locations, (std::vector<int>{1, 0}));
  EXPECT_EQ(store->predecessorOf(committedOnly.traceIds[0]), root);
  const StateRecorder any = replay(2);
  EXPECT_EQ(any.locations, (std::vector<int>{3, 2, 1, 0}));
  EXPECT_EQ(store->predecessorOf(any.traceIds[0]), any.traceIds[1]);
}

} // namespace
} // namespace orvela
