// The simulation services through the real server: the initial state, the
// enabled moves of a state, the successor by a chosen move, the start state
// of later searches, and malformed requests.

#include "Transcript.h"

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <vector>

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

// Time passes in the initial state up to its invariant, but not in a
// committed or urgent one, nor where an urgent synchronisation is enabled; an
// initial state outside its invariant is a dot alone.
TEST(SimulationServices, TheInitialStateHasLetTimePassWhereItCan) {
  EXPECT_EQ(onLamp("getInitialState\n"), lampNames + "ok\n" + offAnyTime);
  const std::string stopped = "ok\n0\n.\n1\n0\n0\n.\n.\n.\n"; // x = 0
  const std::pair<std::string, std::string> cases[] = {
      {"process P { state a { x <= 4 }; init a; }\nsystem P;", "ok\n0\n.\n1\n0\n8\n.\n.\n.\n"},
      {"process P { state a, b; commit a; init a; trans a -> b {}; }\nsystem P;", stopped},
      {"process P { state a, b; urgent a; init a; trans a -> b {}; }\nsystem P;", stopped},
      {"urgent chan go;\nprocess S { state s0, s1; init s0; trans s0 -> s1 { sync go!; }; }\n"
       "process R { state r0, r1; init r0; trans r0 -> r1 { sync go?; }; }\nsystem S, R;",
       "ok\n0\n0\n.\n1\n0\n0\n.\n.\n.\n"},
      {"process P { state a { x < 0 }; init a; }\nsystem P;", "ok\n.\n"},
  };
  for (const auto& [model, reply] : cases)
    EXPECT_EQ(replies(newSystem("clock x;\n" + model) + "getInitialState\n"),
              "ok\n\nt(0) x \n.\n" + reply)
        << model;
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
  // with reduction 2, every state outside a loop is flagged
  const std::string chain = "clock x;\nprocess C { state c0, c1, c2; init c0; "
                            "trans c0 -> c1 {}, c1 -> c2 {}; }\nsystem C;";
  EXPECT_EQ(replies(newSystem(chain) + setOptions("storeFlag 1\nreduction 2\n") +
                    "getTransitions\n0\n.\n.\n.\n"),
            "ok\n\nt(0) x \n.\nok\n.\nok\n1\n.\n.\n.\n0 1\n.\nF\n.\n.\n");
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

TEST(SimulationServices, ACountOfZeroNamesTheTwoEdgesOfASynchronisation) {
  const std::string model =
      "chan go; clock x;\n"
      "process S { state s0, s1; init s0; trans s0 -> s1 { guard x >= 1; sync go!; }; }\n"
      "process R { state r0, r1; urgent r1; init r0; "
      "trans r0 -> r1 { sync go?; assign x := 0; }; }\n"
      "system S, R;";
  const std::string names = "ok\n\nt(0) x \n.\n";
  const std::string synchronised = "1\n1\n.\n1\n0\n0\n.\n.\n.\n"; // x = 0, no delay in r1
  // any count but 1 reads two references (2: the listing test below)
  EXPECT_EQ(replies(newSystem(model) + "getSuccessor\n0\n0\n.\n.\n.\n0\n0\n0\n1\n0\n.\n"),
            names + "ok\n" + synchronised);
}

// x <= 1 leaves nothing for the guard x >= 2: "ok" and nothing more. An enabled
// move, or one an integer guard disables: the listing test below.
TEST(SimulationServices, TheSuccessorByAMoveItsClockGuardDisables) {
  EXPECT_EQ(onLamp("getSuccessor\n1\n.\n1\n0\n2\n.\n.\n3\n.\n1\n0\n1\n.\nversion\n"),
            lampNames + "ok\nok\nORVELA version 1.0 Beta, Nov 2002 -- server.\n.\n");
}

// Three processes on an urgent binary channel a and a broadcast channel b,
// with a committed location, integer guards (none on a receiver of b, whose
// participation would then depend on edges outside a request), a process
// that can both send and receive on a, and a pair whose two updates of n
// give different states in the two orders.
const std::string network = "urgent chan a; broadcast chan b;\nint [0,3] n;\nclock x;\n"
                            "process P { state p0, p1, p2; commit p1; init p0;\n"
                            "  trans p0 -> p1 { guard n < 2; sync a!; assign n := 1; },\n"
                            "        p0 -> p0 { sync a?; },\n"
                            "        p1 -> p2 { sync b!; },\n"
                            "        p1 -> p0 { assign x := 0; },\n"
                            "        p2 -> p0 { guard n > 0; sync a?; assign n := 0; }; }\n"
                            "process Q { state q0, q1; init q0;\n"
                            "  trans q0 -> q1 { sync a?; assign n := 3; },\n"
                            "        q1 -> q0 { guard n >= 1; sync a!; assign x := 0; },\n"
                            "        q1 -> q1 { guard n == 2; assign n := 1; },\n"
                            "        q0 -> q0 { sync b?; },\n"
                            "        q1 -> q0 { sync b?; }; }\n"
                            "process R { state r0, r1; init r0;\n"
                            "  trans r0 -> r1 { sync b?; },\n"
                            "        r1 -> r0 { guard n != 1; sync b!; },\n"
                            "        r0 -> r0 { assign n := 2; }; }\n"
                            "system P, Q, R;";
const int networkEdges[] = {5, 5, 3}; // per process

/// An edge as a request names it: process, index from 0.
using EdgeName = std::pair<int, int>;
/// The moves of one state, by their edges, with the successor each leads to.
using Moves = std::map<std::set<EdgeName>, std::string>;

/// The replies to `requests` sent after loading `model`, the load's reply
/// read.
ReplyReader afterLoading(const std::string& model, const std::string& requests) {
  ReplyReader reply(replies(newSystem(model) + requests));
  reply.skipLines(4);
  return reply;
}

/// The moves of a "getTransitions" reply of the network.
Moves listedMoves(ReplyReader& reply) {
  Moves moves;
  EXPECT_EQ(reply.line(), "ok");
  while (!reply.skip(".")) {
    const std::string successor = reply.block(3, 1).text;
    std::set<EdgeName> edges;
    for (std::string edge = reply.line(); edge != "."; edge = reply.line()) {
      std::istringstream fields(edge);
      int process = -1, index = 0;
      fields >> process >> index;
      EXPECT_GE(process, 0) << edge;
      if (process < 0)
        return moves;
      edges.insert({process, index - 1});
    }
    moves[edges] = successor;
  }
  return moves;
}

/// "getTransitions" for each of `states`, in one session of `model`.
std::vector<Moves> movesOf(const std::string& model, const std::vector<std::string>& states) {
  std::string requests;
  for (const std::string& state : states)
    requests += "getTransitions\n" + state;
  ReplyReader reply = afterLoading(model, requests);
  std::vector<Moves> moves;
  for (std::size_t k = 0; k < states.size(); ++k)
    moves.push_back(listedMoves(reply));
  return moves;
}

// In each state of a short simulation, every request of one edge or of an
// ordered pair of edges: a move that "getTransitions" lists answers its
// successor there, whatever the order of its edges; one that it would list
// but for an integer guard of its own edges answers "ok" alone (the listing
// of the same network without guards tells them apart); any other set of
// edges is refused before "ok".
TEST(SimulationServices, ASuccessorIsTakenOnlyByAMoveThatGetTransitionsLists) {
  ReplyReader initial = afterLoading(network, "getInitialState\n");
  ASSERT_EQ(initial.line(), "ok");
  std::vector<std::string> states = {initial.block(3, 1).text};
  std::vector<Moves> listed;
  while (listed.size() < states.size()) {
    const std::vector<std::string> batch(states.begin() + long(listed.size()), states.end());
    for (const Moves& moves : movesOf(network, batch)) {
      listed.push_back(moves);
      for (const auto& [edges, successor] : moves)
        if (states.size() < 16 &&
            std::find(states.begin(), states.end(), successor) == states.end())
          states.push_back(successor);
    }
  }
  const std::string unguarded = std::regex_replace(network, std::regex("guard [^;]*; "), "");
  const std::vector<Moves> shaped = movesOf(unguarded, states);

  std::vector<EdgeName> edges;
  for (int p = 0; p < 3; ++p)
    for (int e = 0; e < networkEdges[p]; ++e)
      edges.push_back({p, e});
  std::vector<std::vector<EdgeName>> requests;
  for (const EdgeName& first : edges) {
    requests.push_back({first});
    for (const EdgeName& second : edges)
      requests.push_back({first, second});
  }
  std::string sent;
  std::vector<std::string> expected, what;
  for (std::size_t s = 0; s < states.size(); ++s)
    for (const std::vector<EdgeName>& request : requests) {
      sent += "getSuccessor\n" + states[s] + std::to_string(request.size()) + "\n";
      std::string named;
      for (const auto& [process, index] : request)
        named += std::to_string(process) + "\n" + std::to_string(index) + "\n";
      sent += named + ".\n";
      const std::set<EdgeName> move(request.begin(), request.end());
      if (move.size() < request.size())
        expected.push_back(error("State inconsistent with current system"));
      else if (listed[s].count(move))
        expected.push_back("ok\n" + listed[s].at(move));
      else if (shaped[s].count(move))
        expected.push_back("ok\n");
      else
        expected.push_back(error("State inconsistent with current system"));
      what.push_back(states[s] + named);
    }
  const std::string out = afterLoading(network, sent).rest();
  std::size_t at = 0;
  for (std::size_t k = 0; k < expected.size(); ++k) {
    ASSERT_EQ(out.substr(at, expected[k].size()), expected[k]) << "state and edges:\n" << what[k];
    at += expected[k].size();
  }
  EXPECT_EQ(at, out.size());
}

// A location or an edge is checked as soon as it is read: the rest of the
// request arrives as commands. Other malformed requests: MalformedRequests.
TEST(SimulationServices, ABadLocationOrEdgeEndsTheRequestWhereItStands) {
  EXPECT_EQ(onLamp("getSuccessor\n" + onThird + "1\n0\n3\n.\n"),
            lampNames + error("State inconsistent with current system") +
                error(".: Unknown command"));
  EXPECT_EQ(onLamp("getTransitions\n3\n.\n.\n0\n.\n"),
            lampNames + error("State inconsistent with current system") +
                error(".: Unknown command") + error(".: Unknown command") +
                error("0: Unknown command") + error(".: Unknown command"));
}

// The client's state replaces the initial state for the next search and for
// the replay of its trace, which starts at that state.
TEST(SimulationServices, AStartStateIsWhereTheNextSearchAndItsTraceBegin) {
  EXPECT_EQ(onLamp(setOptions("trace 1\n") + "startState\n" + onThird + modelCheck("E<> P.done") +
                   modelCheck("A[] n == 3")),
            lampNames + "ok\n.\nok\n.\nok\nT\n1\n0\n" + doneThird + "0 3\n.\n.\n" +
                "ok\nT\n0\n0\n.\n");
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
