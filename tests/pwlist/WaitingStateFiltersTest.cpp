#include "pwlist/WaitingStateFilters.h"
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

} // namespace
} // namespace orvela
