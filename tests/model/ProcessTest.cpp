#include "model/Process.h"

#include "ModelFixtures.h"
#include "expr/Arrays.h"
#include "model/ModelTables.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvela {
namespace {

using test::buildProcess;
using test::constant;
using test::edge;
using test::loopEntries;
using test::receive;
using test::send;

// Channels 1 (plain), 2 (urgent), 3 (plain), 4 (urgent broadcast).
class ProcessTest : public ::testing::Test {
protected:
  const std::vector<ChannelInfo> channels{
      {1, false, false, "a"}, {2, true, false, "u"}, {3, false, false, "b"}, {4, true, true, "ub"}};
};

TEST_F(ProcessTest, EachCycleIsMarkedOnceAtTheLocationThatClosesItUnlessItCanOnlyReceive) {
  const struct {
    const char* name;
    int locations;
    std::vector<Pointer<Transition>> edges;
    std::vector<bool> expected;
  } cases[] = {
      {"silent self-loop", 1, {edge(0, 0)}, {true}},
      {"sending self-loop", 1, {edge(0, 0, send(1))}, {true}},
      {"receiving self-loop", 1, {edge(0, 0, receive(1))}, {false}},
      // A silent edge beside a receiving one makes the pair silent.
      {"receiving and silent self-loops", 1, {edge(0, 0, receive(1)), edge(0, 0)}, {true}},
      {"receiving cycle", 2, {edge(0, 1, receive(1)), edge(1, 0, receive(3))}, {false, false}},
      {"cycle with a sender", 2, {edge(0, 1, receive(1)), edge(1, 0, send(3))}, {true, false}},
      {"cycle behind an edge", 3, {edge(0, 1), edge(1, 2), edge(2, 1)}, {false, true, false}},
      // 0 -> 1 -> 0 closes at 0; 0 -> 1 -> 2 -> 0 then passes the marked 0
      // and adds nothing; 1 -> 2 -> 1 closes at 1.
      {"nested cycles",
       3,
       {edge(0, 1), edge(1, 0), edge(1, 2), edge(2, 1), edge(2, 0)},
       {true, true, false}},
      // A self-loop marks 0 first; the cycle through 0 is then covered.
      {"covered cycle", 2, {edge(0, 0), edge(0, 1), edge(1, 0)}, {true, false}},
      // 0 -> 1 -> 2 -> 0 passes 1, which its self-loop marked: covered too.
      {"cycle through a marked location",
       3,
       {edge(0, 1), edge(1, 1), edge(1, 2), edge(2, 0)},
       {false, true, false}},
      {"unreachable cycle", 3, {edge(1, 2), edge(2, 1), edge(2, 2)}, {false, false, false}},
      // A cross edge into a finished branch closes nothing.
      {"diamond",
       4,
       {edge(0, 1), edge(0, 2), edge(1, 3), edge(2, 3)},
       {false, false, false, false}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(loopEntries(*buildProcess("P", c.locations, c.edges)), c.expected) << c.name;
}

TEST_F(ProcessTest, ParallelEdgesMergeIntoOneEdgeCode) {
  Pointer<Process> process =
      buildProcess("P", 4,
                   {edge(0, 1, send(1)), edge(0, 1, receive(1)), edge(1, 2, receive(1)), edge(1, 2),
                    edge(2, 3), edge(2, 3, send(3)), edge(3, 0, receive(1)), edge(3, 0, receive(3)),
                    edge(1, 3), edge(1, 3, receive(3))});
  EXPECT_EQ(process->getEdgeCode(0, 1), sendingEdge);
  EXPECT_EQ(process->getEdgeCode(1, 2), silentEdge);
  EXPECT_EQ(process->getEdgeCode(2, 3), sendingEdge);
  EXPECT_EQ(process->getEdgeCode(3, 0), receiveOnly);
  EXPECT_EQ(process->getEdgeCode(1, 3), silentEdge);
  EXPECT_EQ(process->getEdgeCode(0, 2), noEdge);
  EXPECT_EQ(process->getTransitionsFrom(1).size(), 4u);
  EXPECT_EQ(process->getTransitionsTo(0).size(), 2u);
}

TEST_F(ProcessTest, ChannelArraysSummariseEveryChannelTheyMayName) {
  // An edge over channels 1..3 (the first and third plain, the second urgent).
  Pointer<Expression> anyOfThree = new Variable(0, 1, 1, 3);
  Pointer<Expression> receiveAny = new Variable(0, 1, -3, -1);
  Pointer<Process> process =
      buildProcess("P", 2,
                   {edge(0, 1, anyOfThree), edge(1, 0, receiveAny), edge(1, 1, send(4)),
                    edge(0, 0, receive(4)), edge(0, 0, send(1))},
                   {}, {}, channels);
  const ControlState& first = *process->getControlState(0);
  for (int channel : {0, 1, 2})
    EXPECT_TRUE(first.getSync().hasOutputChannel(channel)) << channel;
  EXPECT_FALSE(first.getSync().hasInputChannel(0));
  EXPECT_FALSE(first.getUrgentSync().hasOutputChannel(0));
  EXPECT_TRUE(first.getUrgentSync().hasOutputChannel(1));
  EXPECT_FALSE(first.getSync().hasInputChannel(3)) << "broadcast channels are not summarised";
  ASSERT_EQ(first.getUrgentTransitions().size(), 1u);
  EXPECT_EQ(first.getUrgentTransitions()[0]->getTarget(), 1);
  EXPECT_TRUE(first.getUrgentBroadcastTransitions().empty()) << "receiving is never urgent here";
  const ControlState& second = *process->getControlState(1);
  EXPECT_TRUE(second.getUrgentSync().hasInputChannel(1));
  EXPECT_TRUE(second.getSync().hasInputChannel(2));
  ASSERT_EQ(second.getUrgentBroadcastTransitions().size(), 1u);
  EXPECT_EQ(second.getUrgentTransitions().size(), 1u);
}

TEST_F(ProcessTest, BuildingAgainReplacesWhatTheLastBuildDerived) {
  Pointer<Process> process =
      buildProcess("P", 2, {edge(0, 1, send(2)), edge(1, 0)}, {}, {}, channels);
  process->buildProcess(channels);
  EXPECT_EQ(process->getTransitionsFrom(0).size(), 1u);
  EXPECT_EQ(process->getTransitionsTo(0).size(), 1u);
  EXPECT_EQ(process->getControlState(0)->getUrgentTransitions().size(), 1u);
  EXPECT_EQ(loopEntries(*process), (std::vector<bool>{true, false}));
}

TEST_F(ProcessTest, EdgesAreNumberedAndOwnedByTheirProcessAlone) {
  Pointer<Transition> kept = edge(1, 0);
  {
    Pointer<Process> process = buildProcess("P", 2, {edge(0, 1), kept});
    process->markTransitions(3);
    EXPECT_EQ(kept->getProcessIndex(), 3);
    EXPECT_EQ(kept->getIndex(), 1);
    EXPECT_EQ(kept->getProcessObject(), process.get());
    EXPECT_GT(kept->referenceCount(), 1);
  }
  // The process is gone; nothing else holds the edge.
  EXPECT_EQ(kept->referenceCount(), 1);
}

TEST_F(ProcessTest, DisplayShowsLocationsLoopEntriesAndEdges) {
  Pointer<Process> process = buildProcess("P", 2, {edge(0, 1), edge(1, 0, send(1))});
  process->getTransitions()[1]->setGuard(nullptr, nullptr, "k<2");
  process->getTransitions()[1]->setSync(send(1), "a!");
  process->getTransitions()[1]->setAssignment(nullptr, "k:=0");
  process->getTransitions()[0]->setSync(constant(0), "tau");
  std::ostringstream out;
  process->display(out);
  EXPECT_EQ(out.str(),
            "Process: P\n  Process with 2 states.\nStates:\n  +l0+ { }\n  l1 { }\n"
            "Transitions: \n  P.l0->P.l1 { true, tau }\n  P.l1->P.l0 { k<2, a!, k:=0 }\n");
  std::ostringstream indented;
  process->getTransitions()[0]->display(indented, 2);
  EXPECT_EQ(indented.str(), "\t\tP.l0->P.l1 { \t\ttrue, tau }");
  EXPECT_THROW(process->getTransitions()[0]->print(indented), Bug);
}

} // namespace
} // namespace orvela
