// The simulation services through the real server: the initial state, the
// enabled moves of a state, the successor by a chosen move, the start state
// of later searches, and malformed requests.

#include "Transcript.h"

namespace orvela {
namespace {

using namespace test;

// States of the lamp as the client sends and receives them (minimal
// constraints).
const std::string offAnyTime = "0\n.\n.\n0\n.\n";               // x >= 0, n = 0
const std::string onThird = "1\n.\n1\n0\n10\n.\n.\n3\n.\n";     // x <= 5, n = 3
const std::string offAfterTwo = "0\n.\n0\n1\n-4\n.\n.\n3\n.\n"; // x >= 2, n = 3
const std::string doneThird = "2\n.\n1\n0\n10\n.\n.\n3\n.\n";   // x <= 5, n = 3

std::string onLamp(const std::string& requests) { return replies(newSystem(lamp) + requests); }

TEST(SimulationServices, TheInitialStateHasLetTimePassWithinItsInvariants) {
  EXPECT_EQ(onLamp("getInitialState\n"), lampNames + "ok\n" + offAnyTime);
  EXPECT_EQ(onLamp(setOptions("zoneFormat 0\n") + "getInitialState\n"),
            lampNames + "ok\n.\nok\n0\n.\n0\n0\n0\n.\n0\n1\n0\n.\n1\n1\n0\n.\n.\n0\n.\n");
  EXPECT_EQ(replies(newSystem("clock x;\nprocess P { state a { x <= 4 }; init a; }\nsystem P;") +
                    "getInitialState\n"),
            "ok\n\nt(0) x \n.\nok\n0\n.\n1\n0\n8\n.\n.\n.\n");
}

TEST(SimulationServices, NoTimePassesInACommittedOrUrgentInitialState) {
  const std::string stopped = "ok\n0\n.\n1\n0\n0\n.\n.\n.\n"; // x = 0
  EXPECT_EQ(replies(newSystem("clock x;\nprocess P { state a, b; commit a; init a; "
                              "trans a -> b {}; }\nsystem P;") +
                    "getInitialState\n"),
            "ok\n\nt(0) x \n.\n" + stopped);
  EXPECT_EQ(replies(newSystem("clock x;\nprocess P { state a, b; urgent a; init a; "
                              "trans a -> b {}; }\nsystem P;") +
                    "getInitialState\n"),
            "ok\n\nt(0) x \n.\n" + stopped);
  // an urgent synchronisation enabled in the initial state
  EXPECT_EQ(replies(newSystem("urgent chan go; clock x;\n"
                              "process S { state s0, s1; init s0; trans s0 -> s1 { sync go!; }; }\n"
                              "process R { state r0, r1; init r0; trans r0 -> r1 { sync go?; }; }\n"
                              "system S, R;") +
                    "getInitialState\n"),
            "ok\n\nt(0) x \n.\nok\n0\n0\n.\n1\n0\n0\n.\n.\n.\n");
}

TEST(SimulationServices, AnInitialStateOutsideItsInvariantIsADotAlone) {
  EXPECT_EQ(replies(newSystem("clock x;\nprocess P { state a { x < 0 }; init a; }\nsystem P;") +
                    "getInitialState\n"),
            "ok\n\nt(0) x \n.\nok\n.\n");
}

TEST(SimulationServices, EveryEnabledMoveWithItsSuccessorAndOnRequestTheStoredFlag) {
  const std::string request = "getTransitions\n" + onThird;
  EXPECT_EQ(onLamp(request),
            lampNames + "ok\n" + offAfterTwo + "0 2\n.\n" + doneThird + "0 3\n.\n.\n");
  // the committed successor outside every loop need not be stored
  EXPECT_EQ(onLamp(setOptions("storeFlag 1\n") + request), lampNames + "ok\n.\nok\n" + offAfterTwo +
                                                               "0 2\n.\nT\n.\n" + doneThird +
                                                               "0 3\n.\nF\n.\n.\n");
  EXPECT_EQ(onLamp(setOptions("storeFlag 1\nreduction 0\n") + request),
            lampNames + "ok\n.\nok\n" + offAfterTwo + "0 2\n.\nT\n.\n" + doneThird +
                "0 3\n.\nT\n.\n.\n");
  // from the initial state: the switch, which resets x and counts
  EXPECT_EQ(onLamp("getTransitions\n" + offAnyTime),
            lampNames + "ok\n1\n.\n1\n0\n10\n.\n.\n1\n.\n0 1\n.\n.\n");
  // a deadlocked state
  EXPECT_EQ(onLamp("getTransitions\n" + doneThird), lampNames + "ok\n.\n");
}

// x is compared with 2 only: normalised, x <= 7 is no bound. The option is
// read when a system is loaded.
TEST(SimulationServices, SuccessorsAreNormalisedOnlyWithTheOptionAtLoadTime) {
  const std::string model = "clock x;\n"
                            "process P { state a, b; commit b; init a;\n"
                            "  trans a -> b { guard x >= 2; }, b -> a {}; }\n"
                            "system P;";
  const std::string names = "ok\n\nt(0) x \n.\n";
  const std::string fiveToSeven = "0\n.\n0\n1\n-10\n.\n1\n0\n14\n.\n.\n.\n";
  const std::string exact = "1\n.\n0\n1\n-10\n.\n1\n0\n14\n.\n.\n.\n";
  const std::string normalised = "1\n.\n0\n1\n-10\n.\n.\n.\n";
  EXPECT_EQ(replies(newSystem(model) + "getTransitions\n" + fiveToSeven +
                    setOptions("normalise 1\n") + "getTransitions\n" + fiveToSeven +
                    newSystem(model) + "getTransitions\n" + fiveToSeven + "getSuccessor\n" +
                    fiveToSeven + "1\n0\n0\n.\n"),
            names + "ok\n" + exact + "0 1\n.\n.\n" + "ok\n.\n" + "ok\n" + exact + "0 1\n.\n.\n" +
                names + "ok\n" + normalised + "0 1\n.\n.\n" + "ok\n" + normalised);
}

TEST(SimulationServices, ReductionTwoFlagsEveryStateOutsideALoop) {
  const std::string chain = "clock x;\nprocess C { state c0, c1, c2; init c0; "
                            "trans c0 -> c1 {}, c1 -> c2 {}; }\nsystem C;";
  EXPECT_EQ(replies(newSystem(chain) + setOptions("storeFlag 1\nreduction 2\n") +
                    "getTransitions\n0\n.\n.\n.\n"),
            "ok\n\nt(0) x \n.\nok\n.\nok\n1\n.\n.\n.\n0 1\n.\nF\n.\n.\n");
}

TEST(SimulationServices, BinarySynchronisationsAreOneMoveOfTwoEdges) {
  const std::string model =
      "chan go; clock x;\n"
      "process S { state s0, s1; init s0; trans s0 -> s1 { guard x >= 1; sync go!; }; }\n"
      "process R { state r0, r1; urgent r1; init r0; "
      "trans r0 -> r1 { sync go?; assign x := 0; }; }\n"
      "system S, R;";
  const std::string names = "ok\n\nt(0) x \n.\n";
  const std::string synchronised = "1\n1\n.\n1\n0\n0\n.\n.\n.\n"; // x = 0, no delay in r1
  EXPECT_EQ(replies(newSystem(model) + "getTransitions\n0\n0\n.\n.\n.\n"),
            names + "ok\n" + synchronised + "0 1\n1 1\n.\n.\n");
  // any count but 1 reads two references
  for (const char* count : {"2", "0"}) {
    SCOPED_TRACE(count);
    EXPECT_EQ(
        replies(newSystem(model) + "getSuccessor\n0\n0\n.\n.\n.\n" + count + "\n0\n0\n1\n0\n.\n"),
        names + "ok\n" + synchronised);
  }
}

TEST(SimulationServices, TheSuccessorByOneEdgeAndByADisabledOne) {
  EXPECT_EQ(onLamp("getSuccessor\n" + onThird + "1\n0\n1\n.\n"), lampNames + "ok\n" + offAfterTwo);
  // x <= 1 leaves nothing for the guard x >= 2: "ok" and nothing more
  EXPECT_EQ(onLamp("getSuccessor\n1\n.\n1\n0\n2\n.\n.\n3\n.\n1\n0\n1\n.\nversion\n"),
            lampNames + "ok\nok\nORVELA version 1.0 Beta, Nov 2002 -- server.\n.\n");
  // the integer guard n == 3 fails with n = 1
  EXPECT_EQ(onLamp("getSuccessor\n1\n.\n.\n1\n.\n1\n0\n2\n.\n"), lampNames + "ok\n");
}

TEST(SimulationServices, MalformedRequestsAreRejectedBeforeAnyReplyLine) {
  EXPECT_EQ(onLamp("getSuccessor\n" + onThird + "1\n0\n1\n0\n"),
            lampNames + error("End of request expected"));
  EXPECT_EQ(onLamp("getSuccessor\n" + onThird + "1\n1\n0\n.\n"),
            lampNames + error("State inconsistent with current system") +
                error(".: Unknown command"));
  EXPECT_EQ(onLamp("getSuccessor\n" + onThird + "1\n0\n3\n.\n"),
            lampNames + error("State inconsistent with current system") +
                error(".: Unknown command"));
  EXPECT_EQ(onLamp("getTransitions\n3\n.\n.\n0\n.\n"),
            lampNames + error("State inconsistent with current system") +
                error(".: Unknown command") + error(".: Unknown command") +
                error("0: Unknown command") + error(".: Unknown command"));
  EXPECT_EQ(onLamp("startState\n-1\n"), lampNames + error("Bad control state"));
  EXPECT_EQ(onLamp("getTransitions\n0\n.\n.\nseven\n"), lampNames + error("Bad integer value"));
}

// The client's state replaces the initial state for the next search and for
// the replay of its trace, which starts at that state.
TEST(SimulationServices, AStartStateIsWhereTheNextSearchAndItsTraceBegin) {
  EXPECT_EQ(onLamp(setOptions("trace 1\n") + "startState\n" + onThird + modelCheck("E<> P.done") +
                   modelCheck("A[] n == 3")),
            lampNames + "ok\n.\nok\n.\nok\nT\n1\n0\n" + doneThird + "0 3\n.\n.\n" +
                "ok\nT\n0\n0\n.\n");
  // without it, done is six moves away
  auto step = [](const char* location, const char* zone, int n, const char* edge) {
    return std::string(location) + "\n.\n" + zone + ".\n" + std::to_string(n) + "\n.\n" + edge +
           "\n.\n";
  };
  const char* upToFive = "1\n0\n10\n.\n";
  const char* fromTwo = "0\n1\n-4\n.\n";
  EXPECT_EQ(onLamp(setOptions("trace 1\n") + modelCheck("E<> P.done")),
            lampNames + "ok\n.\nok\nT\n6\n0\n" + step("1", upToFive, 1, "0 1") +
                step("0", fromTwo, 1, "0 2") + step("1", upToFive, 2, "0 1") +
                step("0", fromTwo, 2, "0 2") + step("1", upToFive, 3, "0 1") +
                step("2", upToFive, 3, "0 3") + ".\n");
}

TEST(SimulationServices, AStateWithAnEmptyZoneHasNoSuccessorsAndReachesNothing) {
  const std::string empty = "1\n.\n1\n0\n2\n.\n0\n1\n-6\n.\n.\n0\n.\n"; // x <= 1 and x >= 3
  EXPECT_EQ(onLamp("getTransitions\n" + empty + "startState\n" + empty + modelCheck("E<> P.on")),
            lampNames + "ok\n.\nok\n.\nok\nF\n0\n0\n.\n");
  // with no invariant or guard that would notice it; the diagonal bound
  // t(0) - t(0) <= 1 constrains nothing
  const std::string emptyAt = "0\n.\n1\n0\n2\n.\n0\n1\n-4\n.\n.\n.\n"; // x <= 1 and x >= 2
  EXPECT_EQ(replies(newSystem("clock x;\nprocess P { state a; init a; trans a -> a {}; }\n"
                              "system P;") +
                    "getTransitions\n" + emptyAt + "startState\n" + emptyAt +
                    modelCheck("E<> P.a") + "startState\n0\n.\n0\n0\n2\n.\n.\n.\n" +
                    modelCheck("E<> P.a")),
            "ok\n\nt(0) x \n.\nok\n.\nok\n.\nok\nF\n0\n0\n.\nok\n.\nok\nT\n0\n0\n.\n");
}

} // namespace
} // namespace orvela
