#include "model/Process.h"

#include "ModelFixtures.h"
#include "model/Arrays.h"
#include "model/ModelTables.h"

#include <gtest/gtest.h>


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
  void SetUp() override {
    resetModelTables();
    ChannelInfo::addChannel(false, false, "a");
    ChannelInfo::addChannel(true, false, "u");
    ChannelInfo::addChannel(false, false, "b");
    ChannelInfo::addChannel(true, true, "ub");
  }
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

TEST_F(ProcessTest, ChannelArraysSummariseEveryChannelTheyMayName) {
  // An edge over channels 1..3 (the first and third plain, the second urgent).
  Pointer<Expression> anyOfThree = new Variable(0, 1, 1, 3);
  Pointer<Expression> receiveAny = new Variable(0, 1, -3, -1);
  Pointer<Process> process =
      buildProcess("P", 2,
                   {edge(0, 1, anyOfThree), edge(1, 0, receiveAny), edge(1, 1, send(4)),
                    edge(0, 0, receive(4)), edge(0, 0, send(1))});
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

} // namespace
} // namespace orvela
