// "setOptions" through the real server: replies, messages, what a rejected
// or failing request leaves in force, and when the stored state space goes.

#include "Transcript.h"

namespace orvela {
namespace {

using namespace test;

const std::string ok = "ok\n.\n";

// c is reached directly with x >= 3, or through b with any x >= 0, which
// covers the first. A search that explored everything (E<> i == 5 is
// unreachable) holds c reached through b: continuing it answers E<> P.c with
// the two-step trace, a fresh search with the one-step trace.
const std::string shortcut = "clock x;\nint [0,5] i;\n"
                             "process P { state a, b, c; init a;\n"
                             "  trans a -> c { guard x >= 3; }, a -> b {}, b -> c {}; }\n"
                             "system P;";
const std::string shortcutNames = "ok\ni \nt(0) x \n.\n";
const std::string exhausted = "ok\nF\n0\n0\n.\n";
const std::string freshTrace = "ok\nT\n1\n0\n2\n.\n0\n1\n-6\n.\n.\n0\n.\n0 1\n.\n.\n";
const std::string continuedTrace = "ok\nT\n2\n0\n1\n.\n.\n0\n.\n0 2\n.\n2\n.\n.\n0\n.\n0 3\n.\n.\n";

TEST(OptionsService, EveryOptionIsAccepted) {
  EXPECT_EQ(
      replies(setOptions(
          "order 1\nreduction 2\nrepresentation 1\nreuse T\n"
          "activeClocks 1\ntrace True\nnormalise 1\nzoneFormat 0\n"
          "storeFlag F\nextrapolation 3\nsubsumption 1\ntraceKind 2\nthreads 0\nnoSuchOption 1\n")),
      ok);
  // several threads search the whole state space alike
  EXPECT_EQ(replies(newSystem(shortcut) + setOptions("threads 3\n") + modelCheck("E<> i == 5")),
            shortcutNames + ok + exhausted);
}

TEST(OptionsService, ABadLineEndsTheRequestAndTheRestArrivesAsCommands) {
  EXPECT_EQ(replies(setOptions("\n")), error("Syntax error") + error(".: Unknown command"));
  EXPECT_EQ(replies(setOptions("reuse yes\ntrace 1\n")),
            error("Protocol violation: T, F, 0 or 1 expected") + error("trace 1: Unknown command") +
                error(".: Unknown command"));
  EXPECT_EQ(replies(setOptions("extrapolation 4\n")),
            error("Invalid extrapolation") + error(".: Unknown command"));
  EXPECT_EQ(replies(setOptions("subsumption 2\n")),
            error("Invalid subsumption") + error(".: Unknown command"));
  EXPECT_EQ(replies(setOptions("traceKind 3\n")),
            error("Invalid trace kind") + error(".: Unknown command"));
  EXPECT_EQ(replies(setOptions("threads x\n")),
            error("Invalid thread count") + error(".: Unknown command"));
}

TEST(OptionsService, RejectedValuesDoNotStayInForce) {
  // the zone format stays 0 and the representation stays the convex hull
  EXPECT_EQ(replies(newSystem(lamp) + setOptions("zoneFormat 0\nrepresentation 3\n") +
                    setOptions("zoneFormat 2\n") + setOptions("representation 4\n") +
                    "getInitialState\n" + modelCheck("E<> P.on")),
            lampNames + ok + error("Invalid zone format") + error(".: Unknown command") +
                error("Invalid representation") + error(".: Unknown command") +
                "ok\n0\n.\n0\n0\n0\n.\n0\n1\n0\n.\n1\n1\n0\n.\n.\n0\n.\n" + "ok\nM\n0\n0\n.\n");
}

// "order 1" empties the state space before "reduction 3" fails: the next
// check must still find a working state space.
TEST(OptionsService, ARequestThatFailsPartWayLeavesAWorkingStateSpace) {
  EXPECT_EQ(replies(newSystem(shortcut) + setOptions("trace 1\norder 1\nreduction 3\n") +
                    modelCheck("E<> P.c") + "getInitialState\n"),
            shortcutNames + error("Invalid reduction") + error(".: Unknown command") + freshTrace +
                "ok\n0\n.\n.\n0\n.\n");
}

TEST(OptionsService, OnlyOptionsThatAffectTheStateSpaceEmptyIt) {
  const std::string start =
      newSystem(shortcut) + setOptions("reuse 1\ntrace 1\n") + modelCheck("E<> i == 5");
  const std::string started = shortcutNames + ok + exhausted;
  // kept: the second check continues the first search
  for (const char* keeping :
       {"normalise 1\n", "zoneFormat 1\n", "storeFlag 1\n", "reuse 1\n", "order 0\n",
        "reduction 1\n", "representation 0\n", "activeClocks 0\n", "extrapolation 0\n",
        "subsumption 0\n", "traceKind 0\n", "threads 2\n", "noSuchOption 1\n"}) {
    SCOPED_TRACE(keeping);
    EXPECT_EQ(replies(start + setOptions(keeping) + modelCheck("E<> P.c")),
              started + ok + continuedTrace);
  }
  // emptied: the second check starts afresh
  for (const char* emptying :
       {"trace 1\n", "order 1\n", "reduction 0\n", "representation 1\n", "activeClocks 1\n",
        "reuse 0\n", "extrapolation 3\n", "subsumption 1\n", "traceKind 1\n"}) {
    SCOPED_TRACE(emptying);
    EXPECT_EQ(replies(start + setOptions(emptying) + modelCheck("E<> P.c")),
              started + ok + freshTrace);
  }
  // a constant the model does not have: the search starts again
  EXPECT_EQ(replies(start + modelCheck("E<> P.c and x > 7")), started + freshTrace);
}

} // namespace
} // namespace orvela
