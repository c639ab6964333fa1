#include "checkers/ExpansionFilter.h"
#include "checkers/TraceStore.h"
#include "engine/EngineProbes.h"
#include "engine/StorageReduction.h"
#include "support/SearchHarness.h"
#include "support/StateFixtures.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvela {
namespace {

using test::Search;
using Steps = std::vector<std::string>;

/// Fischer's protocol for two processes: a process that set id waits until
/// its clock exceeds `enter`, while a process may still write id up to `k`
/// after it read 0.
std::string fischer(int k, int enter) {
  std::string text = "int [0,2] id := 0;\n";
  for (int i = 1; i <= 2; ++i) {
    const std::string n = std::to_string(i);
    text += "process P" + n + " { clock x; state A, req {x <= " + std::to_string(k) +
            "}, wait, cs; init A; trans "
            "A -> req { guard id == 0; assign x := 0; }, "
            "req -> wait { guard x <= " +
            std::to_string(k) + "; assign x := 0, id := " + n +
            "; }, "
            "wait -> req { guard id == 0; assign x := 0; }, "
            "wait -> cs { guard x > " +
            std::to_string(enter) + ", id == " + n +
            "; }, "
            "cs -> A { assign id := 0; }; }\n";
  }
  return text + "system P1, P2;";
}

// The zone graph of fischer(k, k) for two processes, derived by hand: the
// counts per pair of locations (A 0, req 1, wait 2, cs 3) below, 27 zones in
// all. Widening by k keeps every bound but "> k", and no zone reached later
// includes one stored before, so each is explored once and stays stored.
TEST(Reachability, MutualExclusionHoldsInTwoFischerProcessesWithTwentySevenZones) {
  for (int k : {1, 2, 5}) {
    Search search(fischer(k, k));
    EXPECT_FALSE(search.reach(Search::both(search.at("P1", "cs"), search.at("P2", "cs"))));
    EXPECT_EQ(search.stateSpace->exploredStates(), 27u) << "k " << k;
    EXPECT_EQ(search.stateSpace->storedStates(), 27u) << "k " << k;
    // Exhausted: nothing waits, and every state went back to the allocator
    // but the transition filter's two scratch states.
    EXPECT_EQ(search.stateSpace->list().getSize(), 0u);
    EXPECT_EQ(search.stateSpace->allocator()->blocksOut(), 2u);
    using Key = std::vector<int>; // A 0, req 1, wait 2, cs 3
    const std::map<Key, int> expected{
        {{0, 0}, 3}, {{1, 0}, 1}, {{0, 1}, 1}, {{1, 1}, 2}, {{2, 0}, 3}, {{0, 2}, 3}, {{3, 0}, 1},
        {{0, 3}, 1}, {{2, 1}, 2}, {{1, 2}, 2}, {{2, 2}, 4}, {{2, 3}, 2}, {{3, 2}, 2}};
    EXPECT_EQ(search.keptByLocations(), expected) << "k " << k;
    EXPECT_TRUE(search.reach(search.at("P1", "cs"))); // P1 alone does
  }
}

/// The goal "P.l" or "P.l Q.m" (both) of a search.
Pointer<Expression> goal(const Search& search, const std::string& text) {
  Pointer<Expression> all;
  std::istringstream in(text);
  for (std::string place; in >> place;) {
    const std::size_t dot = place.find('.');
    Pointer<Expression> one = search.at(place.substr(0, dot), place.substr(dot + 1));
    all = all ? Search::both(all, one) : one;
  }
  return all;
}

// Models with a goal that one variant reaches and the other does not.
TEST(Reachability, VerdictsOfSmallModels) {
  const char* const broadcast =
      "KIND b;\n"
      "process P { state s0, s1; init s0; trans s0 -> s1 { sync b!; }; }\n"
      "process Q { state q0, q1; init q0; trans q0 -> q1 { sync b?; }; }\n"
      "process R { state r0, r1; init r0; trans r0 -> r1 { sync b?; }; }\n"
      "system P, Q, R;";
  // While the urgent synchronisation is enabled time stands still.
  const char* const urgent =
      "KIND u;\n"
      "process P { clock x; state s0, s1, late; init s0; trans s0 -> s1 { sync u!; }, "
      "s0 -> late { guard x > 1; }; }\n"
      "process Q { state t0, t1; init t0; trans t0 -> t1 { sync u?; }; }\n"
      "system P, Q;";
  // y - x becomes 7 for ever, while the plain constants are 3 (y) and 4 (z):
  // widening by those alone would lose y - x = 7 and let y - x <= 5 hold.
  const char* const difference = "clock x, y, z;\n"
                                 "process P { state s0 {y <= 3}, s1 {z <= 4}, s2, goal; init s0; "
                                 "trans s0 -> s1 { guard y == 3; assign z := 0; }, "
                                 "s1 -> s2 { guard z == 4; assign x := 0; }, "
                                 "s2 -> goal { guard y <= x + KIND; }; }\nsystem P;";
  // In b, y - x <= 1 and x <= 1, so x := y copies a value of at most 2, and no
  // time passes in the urgent c. y itself is compared with nothing: only the
  // copy into x, compared with 2, keeps y's bounds from being widened.
  const char* const copy = "clock x, y;\n"
                           "process P { state a {x <= 1}, b, c, d; urgent c; init a; trans "
                           "a -> b { assign x := 0; }, b -> c { guard x <= 1; assign x := y; }, "
                           "c -> d { guard x > 2; }; }\nsystem P;";
  const std::tuple<const char*, const char*, const char*, bool> cases[] = {
      {broadcast, "broadcast chan", "Q.q1 R.r1", true},
      {broadcast, "chan", "Q.q1 R.r1", false}, // only one receiver can move
      {urgent, "urgent chan", "P.late", false},
      {urgent, "chan", "P.late", true},
      {difference, "5", "P.goal", false},
      {difference, "7", "P.goal", true},
      {copy, "", "P.c", true},
      {copy, "", "P.d", false},
  };
  for (const auto& [model, kind, place, reachable] : cases) {
    std::string text = model;
    if (text.find("KIND") != std::string::npos)
      text.replace(text.find("KIND"), 4, kind);
    SCOPED_TRACE(text);
    Search search(text);
    EXPECT_EQ(search.reach(goal(search, place)), reachable) << place;
    if (reachable && std::string(kind) == "broadcast chan") {
      EXPECT_EQ(search.trace(), Steps{"P.s0>s1 Q.q0>q1 R.r0>r1"});
    }
  }
}

TEST(Reachability, TheInitialStateCountsAndMayBeTheGoalUnlessItsInvariantFails) {
  const char* const model = "process P { clock x; state s0 {x INVARIANT}, s1; init s0; "
                            "trans s0 -> s1 { }; }\nsystem P;";
  std::string text = model;
  Search search(text.replace(text.find("INVARIANT"), 9, "<= 1"));
  ASSERT_TRUE(search.reach(search.at("P", "s0")));
  EXPECT_EQ(search.trace(), Steps{});
  EXPECT_EQ(search.stateSpace->storedStates(), 1u);
  // Its invariant delayed: x <= 1.
  EXPECT_EQ(search.stop->state()->getUnpackedRegion()->get(1, 0), 3);
  text = model;
  Search outside(text.replace(text.find("INVARIANT"), 9, "< 0"));
  EXPECT_FALSE(outside.reach(outside.at("P", "s1")));
  EXPECT_EQ(outside.stateSpace->storedStates(), 0u);
  EXPECT_EQ(outside.kept(), 0u);
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
      test::loadSystem("process P { clock x; state s0, c, s1, s2; commit c; init s0; trans "
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
