#include "checkers/TraceSimulation.h"
#include "base/Exceptions.h"
#include "checkers/TraceStore.h"
#include "checkers/TraceStoreFilter.h"
#include "dbm/RawBound.h"
#include "support/ModelText.h"
#include "symbolic/GlobalState.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::findEdge;
using test::loadSystem;

const char* model = "broadcast chan b; clock x;\n"
                    "process P { state s0 {x <= 3}, s1 {x <= 5}, s2; init s0; trans "
                    "s0 -> s1 { guard x >= 2; sync b!; }, s1 -> s2 { guard x > 4; }; }\n"
                    "process Q { state q0, q1; init q0; trans q0 -> q1 { sync b?; }; }\n"
                    "process R { state r0, r1; init r0; trans r0 -> r1 { sync b?; }; }\n"
                    "system P, Q, R;";

/// Records the pairs that reach it: the state's trace identifier after the
/// trace-store stage.
class IdentifierSink final : public ItemSink<IdentifierSink, SuccessorPair> {
public:
  bool put(SuccessorPair* pair) {
    identifiers.push_back(pair->first->getTraceId());
    return true;
  }
  std::vector<int> identifiers;
};

class TraceSimulationTest : public ::testing::Test {
protected:
  TraceSimulationTest()
      : system(loadSystem(model)),
        allocator(createChunkAllocator(system->getSizeOfUnpackedState())),
        initial(system->calcInitial()), store(new MemoryTraceStore()) {
    initial->setTraceId(store->put(nullptr, -1));
    // Two moves recorded as a search records them: the broadcast, then P
    // alone, each entry after the one of the state it was made from.
    Pointer<Filter> recorder = createTraceStoreFilter(store);
    IdentifierSink sink;
    recorder->setSink(&sink);
    const Transition* broadcastMove[] = {findEdge(*system, "P", "s0", "s1"),
                                         findEdge(*system, "Q", "q0", "q1"),
                                         findEdge(*system, "R", "r0", "r1"), nullptr};
    const Transition* ownMove[] = {findEdge(*system, "P", "s1", "s2"), nullptr};
    Pointer<GlobalState> state = initial->unpackedCopy();
    SuccessorPair one(state.get(), broadcastMove);
    EXPECT_TRUE(recorder->tryPut(&one));
    SuccessorPair two(state.get(), ownMove);
    EXPECT_TRUE(recorder->tryPut(&two));
    EXPECT_EQ(sink.identifiers.size(), 2u);
    EXPECT_EQ(store->predecessorOf(sink.identifiers[0]), initial->getTraceId());
    EXPECT_EQ(store->predecessorOf(sink.identifiers[1]), sink.identifiers[0]);
    first = sink.identifiers[0];
    last = sink.identifiers[1];
  }

  Pointer<System> system;
  Pointer<Allocator> allocator;
  Pointer<GlobalState> initial;
  Pointer<MemoryTraceStore> store;
  int first = -1;
  int last = -1;
};

TEST_F(TraceSimulationTest, ReplaysEveryStepWithDelayAndInvariants) {
  Pointer<Trace> trace = store->createTrace(last);
  ASSERT_EQ(trace->getLength(), 2);
  {
    TraceSimulation simulation(trace, system, allocator, initial.get());
    // The start state after delay and its invariant: x <= 3.
    EXPECT_EQ(simulation.getCurrent()->getUnpackedRegion()->get(1, 0), rawBound(3, false));
    const Transition* const* broadcast = simulation.next();
    EXPECT_EQ(test::moveName(broadcast), "P.s0>s1 Q.q0>q1 R.r0>r1");
    const GlobalState& afterBroadcast = *simulation.getCurrent();
    EXPECT_EQ(afterBroadcast.getLocation(1), 1);
    EXPECT_EQ(afterBroadcast.getLocation(2), 1);
    // x >= 2 from the guard, x <= 5 from s1's invariant.
    EXPECT_EQ(afterBroadcast.getUnpackedRegion()->get(0, 1), rawBound(-2, false));
    EXPECT_EQ(afterBroadcast.getUnpackedRegion()->get(1, 0), rawBound(5, false));
    EXPECT_FALSE(simulation.atEnd());
    simulation.next();
    EXPECT_TRUE(simulation.atEnd());
    EXPECT_EQ(simulation.getCurrent()->getLocation(0), 2);
    EXPECT_EQ(simulation.getCurrent()->getUnpackedRegion()->get(0, 1), rawBound(-4, true));
    EXPECT_THROW(simulation.next(), Bug);
    EXPECT_EQ(allocator->blocksOut(), 1u);
  }
  EXPECT_EQ(allocator->blocksOut(), 0u);
}

TEST_F(TraceSimulationTest, AStepThatCannotBeTakenKeepsTheStateAndThrows) {
  // The second step alone, from the initial state: its guard x > 4 fails
  // against s0's invariant x <= 3.
  TraceSimulation simulation(store->createTrace(first, last), system, allocator, initial.get());
  GlobalState* start = simulation.getCurrent();
  EXPECT_THROW(simulation.next(), Bug);
  EXPECT_EQ(simulation.getCurrent(), start);
  EXPECT_EQ(allocator->blocksOut(), 1u);
}

TEST_F(TraceSimulationTest, AStartOutsideItsInvariantLeavesNoState) {
  Pointer<GlobalState> late = initial->unpackedCopy();
  late->delayAction();
  late->tighten(0, 1, rawBound(-4, false)); // x >= 4 against x <= 3
  ASSERT_TRUE(late->ok());
  TraceSimulation simulation(store->createTrace(last), system, allocator, late.get());
  EXPECT_EQ(simulation.getCurrent(), nullptr);
  EXPECT_THROW(simulation.next(), Bug);
  EXPECT_EQ(allocator->blocksOut(), 0u);
}

} // namespace
} // namespace orvela
