#include "model/Process.h"

#include "ModelFixtures.h"
#include "expr/Arrays.h"
#include "model/ModelTables.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::buildProcess;
using test::constant;
using test::edge;
using test::receive;
using test::send;

/// The loop-entry marks of a process, one per location.
std::vector<bool> loopEntries(const Process& process) {
  std::vector<bool> marks;
  for (int index = 0; index < process.getLocationCount(); ++index)
    marks.push_back(process.isLoopEntry(index));
  return marks;
}

TEST(ProcessTest, EachCycleIsMarkedOnceAtTheLocationThatClosesItUnlessItCanOnlyReceive) {
  const struct {
    const char* name;
    int locations;
    std::vector<Pointer<Transition>> edges;
    std::vector<bool> expected;
  } cases[] = {
      {"sending self-loop", 1, {edge(0, 0, send(1))}, {true}},
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

} // namespace
} // namespace orvela
