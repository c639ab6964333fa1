#include "EngineProbes.h"
#include "engine/Adapters.h"
#include "engine/NewTransitionFilter.h"
#include "engine/Properties.h"
#include "engine/RandomTransitionFilter.h"
#include "engine/TransitionFilter.h"
#include "support/StateFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace orvela {
namespace {

using test::HeldState;
using test::loadSystem;
using test::MoveRecorder;
using Moves = std::vector<std::string>;

/// A system with its initial state and the filters' allocator.
struct Model {
  explicit Model(const std::string& text)
      : system(loadSystem(text)),
        allocator(createChunkAllocator(system ? system->getSizeOfUnpackedState() : 8)),
        initial(system ? system->calcInitial() : nullptr) {}

  /// The moves of the initial state through a `NewTransitionFilter`.
  Moves moves() {
    Pointer<Filter> filter = createNewTransitionFilter(system, allocator, nullptr, nullptr);
    MoveRecorder recorder(allocator.get());
    filter->setSink(&recorder);
    HeldState held(initial.get());
    EXPECT_TRUE(filter->tryPut(&held));
    return recorder.moves;
  }

  Pointer<System> system;
  Pointer<Allocator> allocator;
  Pointer<GlobalState> initial;
};

TEST(NewTransitionFilter, BinarySynchronisationPairsSenderWithEachReceiverOfOtherProcesses) {
  Model model("chan a;\n"
              "process P { state s0, s1, s2; init s0; trans s0 -> s1 { sync a!; }, "
              "s0 -> s2 { }; }\n"
              "process Q { state t0, t1, t2; init t0; trans t0 -> t1 { sync a?; }, "
              "t0 -> t2 { sync a?; }; }\n"
              "process R { state r0, r1; init r0; trans r0 -> r1 { sync a?; }; }\n"
              "system P, Q, R;");
  // Moves without synchronisation first, then the channel's pairs: sender
  // first, receivers in list order.
  EXPECT_EQ(model.moves(),
            (Moves{"P.s0>s2", "P.s0>s1 Q.t0>t1", "P.s0>s1 Q.t0>t2", "P.s0>s1 R.r0>r1"}));
}

TEST(NewTransitionFilter, ReceiversWithoutSenderAndComplementaryEdgesOfOneProcessNeverMove) {
  Model model("chan a, c;\n"
              "process P { state s0, s1, s2; init s0; trans s0 -> s1 { sync a!; }, "
              "s0 -> s2 { sync a?; }; }\n"
              "process Q { state t0, t1; init t0; trans t0 -> t1 { sync c?; }; }\n"
              "system P, Q;");
  EXPECT_EQ(model.moves(), Moves{});
}

TEST(NewTransitionFilter, EdgesWhoseIntegerGuardsFailTakeNoPart) {
  Model model("chan a; int [0,3] v := 1;\n"
              "process P { state s0, s1, s2; init s0; trans s0 -> s1 { guard v == 1; sync a!; }, "
              "s0 -> s2 { guard v == 2; sync a!; }, s0 -> s0 { guard v > 5; }; }\n"
              "process Q { state t0, t1, t2; init t0; trans t0 -> t1 { guard v == 0; sync a?; }, "
              "t0 -> t2 { sync a?; }; }\n"
              "system P, Q;");
  EXPECT_EQ(model.moves(), Moves{"P.s0>s1 Q.t0>t2"});
}

TEST(NewTransitionFilter, BroadcastTakesOneEdgeOfEveryReceivingProcessLowestFastest) {
  // Q has two receiving edges, R none, S one: two moves, Q's choice varying.
  Model model("broadcast chan b;\n"
              "process P { state s0, s1; init s0; trans s0 -> s1 { sync b!; }; }\n"
              "process Q { state q0, q1, q2; init q0; trans q0 -> q1 { sync b?; }, "
              "q0 -> q2 { sync b?; }; }\n"
              "process R { state r0, r1; init r0; trans r0 -> r1 { }; }\n"
              "process S { state u0, u1, u2; init u0; trans u0 -> u1 { sync b?; }, "
              "u0 -> u2 { sync b?; }; }\n"
              "system P, Q, R, S;");
  EXPECT_EQ(model.moves(), (Moves{"R.r0>r1", "P.s0>s1 Q.q0>q1 S.u0>u1", "P.s0>s1 Q.q0>q2 S.u0>u1",
                                  "P.s0>s1 Q.q0>q1 S.u0>u2", "P.s0>s1 Q.q0>q2 S.u0>u2"}));
}

TEST(NewTransitionFilter, BroadcastWithoutEnabledReceiverIsSentAlone) {
  Model model("broadcast chan b; int v := 0;\n"
              "process P { state s0, s1; init s0; trans s0 -> s1 { sync b!; }; }\n"
              "process Q { state q0, q1; init q0; trans q0 -> q1 { guard v == 1; sync b?; }; }\n"
              "system P, Q;");
  EXPECT_EQ(model.moves(), Moves{"P.s0>s1"});
}

TEST(NewTransitionFilter, CommittedLocationsRestrictTheMovesToTheirProcesses) {
  const std::string processes =
      "process Q { state t0, t1, t2; init t0; trans t0 -> t1 { }, t0 -> t2 { sync a?; }; }\n"
      "process R { state r0, r1; init r0; trans r0 -> r1 { sync b?; }; }\n";
  // P committed: its own edge, and a synchronisation in which P takes part;
  // Q's own edge and the pair of Q and R (neither committed) are not enabled.
  Model committed("chan a, b;\n"
                  "process P { state s0, s1; commit s0; init s0; trans s0 -> s1 { sync a!; }, "
                  "s0 -> s0 { }; }\n"
                  "process T { state w0; init w0; trans w0 -> w0 { sync b!; }; }\n" +
                  processes + "system P, T, Q, R;");
  ASSERT_TRUE(committed.system);
  EXPECT_EQ(committed.moves(), (Moves{"P.s0>s0", "P.s0>s1 Q.t0>t2"}));

  Model free("chan a, b;\n"
             "process P { state s0, s1; init s0; trans s0 -> s1 { sync a!; }, s0 -> s0 { }; }\n" +
             processes + "system P, Q, R;");
  EXPECT_EQ(free.moves(), (Moves{"P.s0>s0", "Q.t0>t1", "P.s0>s1 Q.t0>t2"}));
}

TEST(NewTransitionFilter, CommittedBroadcastNeedsACommittedParticipant) {
  const auto moves = [](const char* senderMark, const char* receiverMark) {
    Model model(std::string("broadcast chan b;\n"
                            "process P { state s0, s1; ") +
                senderMark +
                " init s0; trans s0 -> s1 { sync b!; }; }\n"
                "process Q { state q0, q1; " +
                receiverMark +
                " init q0; trans q0 -> q1 { sync b?; }; }\n"
                "process C { state c0, c1; commit c0; init c0; trans c0 -> c1 { }; }\n"
                "system P, Q, C;");
    return model.moves();
  };
  EXPECT_EQ(moves("", ""), Moves{"C.c0>c1"});
  EXPECT_EQ(moves("", "commit q0;"), (Moves{"C.c0>c1", "P.s0>s1 Q.q0>q1"}));
  EXPECT_EQ(moves("commit s0;", ""), (Moves{"C.c0>c1", "P.s0>s1 Q.q0>q1"}));
}

// The initial location is not the first: a fresh block has every location 0.
const char* threeMoves = "process P { clock x; state a, s0 {x <= 4}, s1, s2, s3; init s0; trans "
                         "s0 -> s1 { }, s0 -> s2 { }, s0 -> s3 { }; }\n"
                         "system P;";

TEST(NewTransitionFilter, EveryMoveGetsItsOwnCompleteCopyOfTheSource) {
  Model model(threeMoves);
  Pointer<Filter> filter =
      createNewTransitionFilter(model.system, model.allocator, nullptr, nullptr);
  MoveRecorder recorder(model.allocator.get());
  recorder.scribble = true; // each stage downstream may change its state
  filter->setSink(&recorder);
  model.initial->delayAction();
  test::restrictClock(model.initial.get(), 1, 2, 3);
  HeldState held(model.initial.get(), false);
  ASSERT_TRUE(filter->tryPut(&held));

  ASSERT_EQ(recorder.states.size(), 3u);
  for (const Pointer<GlobalState>& state : recorder.states) {
    EXPECT_EQ(state->getLocation(0), 1);
    EXPECT_EQ(state->relation(model.initial.get()), GlobalState::equal);
  }
  // The zone is read once and the entry released once, with its flag.
  EXPECT_EQ(held.symbolicReads, 1);
  EXPECT_EQ(held.releases, std::vector<bool>{true});
  // Every emitted block went back; the two scratch states remain.
  EXPECT_EQ(model.allocator->blocksOut(), 2u);
  filter = nullptr;
  EXPECT_EQ(model.allocator->blocksOut(), 0u);
}

TEST(NewTransitionFilter, AStateWithoutMovesIsReleasedAtOnce) {
  Model model("process P { state s0; init s0; }\nsystem P;");
  Pointer<Filter> filter =
      createNewTransitionFilter(model.system, model.allocator, nullptr, nullptr);
  MoveRecorder recorder(model.allocator.get());
  filter->setSink(&recorder);
  HeldState held(model.initial.get());
  EXPECT_TRUE(filter->tryPut(&held));
  EXPECT_TRUE(recorder.moves.empty());
  EXPECT_EQ(held.releases, std::vector<bool>{false});
  EXPECT_EQ(held.symbolicReads, 0);
}

int locationCost(const GlobalState* state) { return 10 * (state->getLocation(0) - 1); }
int zoneCost(const GlobalState* state) {
  return state->getUnpackedRegion()->get(1, 0) == rawInfinity ? 100 : 1;
}

TEST(NewTransitionFilter, CostsAtTheBoundAbandonTheState) {
  Model model(threeMoves);
  const auto run = [&](CostFunction discrete, CostFunction real, int bound, HeldState& held,
                       MoveRecorder& recorder) {
    Pointer<Filter> filter =
        createNewTransitionFilter(model.system, model.allocator, discrete, real);
    setValueProperty<int>(*filter, "minCost", bound);
    filter->setSink(&recorder);
    return filter->tryPut(&held);
  };
  {
    // The discrete cost 0 reaches the bound 0: nothing is looked at.
    HeldState held(model.initial.get());
    MoveRecorder recorder(model.allocator.get());
    EXPECT_FALSE(run(locationCost, nullptr, 0, held, recorder));
    EXPECT_EQ(held.releases.size(), 1u);
    EXPECT_EQ(held.symbolicReads, 0);
    EXPECT_TRUE(recorder.moves.empty());
  }
  {
    // Below the bound the moves go through.
    HeldState held(model.initial.get());
    MoveRecorder recorder(model.allocator.get());
    EXPECT_TRUE(run(locationCost, nullptr, 1, held, recorder));
    EXPECT_EQ(recorder.moves.size(), 3u);
  }
  {
    // The cost of the zone (x <= 4 bounded: 1) reaches the bound 1 once the
    // first move has been found and the zone read.
    HeldState held(model.initial.get());
    MoveRecorder recorder(model.allocator.get());
    EXPECT_FALSE(run(nullptr, zoneCost, 1, held, recorder));
    EXPECT_EQ(held.releases.size(), 1u);
    EXPECT_EQ(held.symbolicReads, 1);
    EXPECT_TRUE(recorder.moves.empty());
  }
  EXPECT_EQ(model.allocator->blocksOut(), 0u);
}

TEST(TransitionFilter, EmitsTheSourceStateItselfAndMayBeReentered) {
  Model model("process P { state s0, s1, s2; init s0; trans s0 -> s1 { }, s0 -> s2 { }, "
              "s1 -> s2 { }; }\n"
              "system P;");
  Pointer<Filter> filter = createTransitionFilter(model.system);
  // The first move from s0 puts its target s1 back into the filter, as the
  // expansion filter does; the outer enumeration must go on unharmed.
  Pointer<GlobalState> inner = model.initial->unpackedCopy();
  inner->setLocation(0, 1);
  Moves moves;
  std::vector<GlobalState*> states;
  bool reentered = false;
  auto sink = createFunctionToSinkAdapter([&](SuccessorPair* pair) {
    moves.push_back(test::moveName(pair->second));
    states.push_back(pair->first);
    if (!reentered) {
      reentered = true;
      filter->tryPut(inner.get());
    }
    return true;
  });
  Pointer<PureSink> keep(sink);
  filter->setSink(sink);
  EXPECT_TRUE(filter->tryPut(model.initial.get()));
  EXPECT_EQ(moves, (Moves{"P.s0>s1", "P.s1>s2", "P.s0>s2"}));
  EXPECT_EQ(states,
            (std::vector<GlobalState*>{model.initial.get(), inner.get(), model.initial.get()}));
}

TEST(NewRandomTransitionFilter, EmitsTheSameMovesShuffledWithNoneInItsPlace) {
  Model model("process P { state s0, s1, s2, s3, s4; init s0; trans s0 -> s1 { }, "
              "s0 -> s2 { }, s0 -> s3 { }, s0 -> s4 { }; }\n"
              "system P;");
  const Moves ordered = model.moves();
  ASSERT_EQ(ordered.size(), 4u);
  Pointer<Filter> filter = createRandomTransitionFilter(model.system, model.allocator);
  for (long seed : {1L, 2L, 3L}) {
    srand48(seed);
    MoveRecorder recorder(model.allocator.get());
    filter->setSink(&recorder);
    HeldState held(model.initial.get(), false);
    EXPECT_TRUE(filter->tryPut(&held));
    EXPECT_EQ(held.releases, std::vector<bool>{true});
    ASSERT_EQ(recorder.moves.size(), ordered.size());
    EXPECT_TRUE(std::is_permutation(recorder.moves.begin(), recorder.moves.end(), ordered.begin()));
    for (std::size_t k = 0; k < ordered.size(); ++k)
      EXPECT_NE(recorder.moves[k], ordered[k]) << "seed " << seed;
    for (const Pointer<GlobalState>& state : recorder.states)
      EXPECT_EQ(state->relation(model.initial.get()), GlobalState::equal);
  }
  filter = nullptr;
  EXPECT_EQ(model.allocator->blocksOut(), 0u);
}

} // namespace
} // namespace orvela
