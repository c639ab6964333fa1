// Every service fed malformed requests through the real server: truncated
// requests, wrong counts, garbage and out-of-range numbers and indices,
// over-long lines and binary bytes, one case for each check and message.
// Each is answered with an error reply, and what the session held before
// (model, options, stored state space, start state, collections) answers the
// next requests exactly as if the bad request had never come.

#include "Transcript.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

namespace orvela {
namespace {

using namespace test;

/// Options, collections and a stored state space to lose: with reuse, the
/// probe's check continues this search.
const std::string before = newSystem(lamp) + setOptions("trace 1\nreuse 1\n") +
                           "domainInit\n-1 0 0\n.\nwcrtInit\n0 1 1\n.\n" +
                           modelCheck("E<> P.on and n == 2");

/// Requests whose replies depend on everything `before` set up.
const std::string probe = modelCheck("E<> P.done") + "domainCollect\nwcrtCollect\n" +
                          "getTransitions\n1\n.\n1\n0\n10\n.\n.\n2\n.\n" + "getInitialState\n";

/// A lamp state block: on, x <= 5, n == 2.
const std::string state = "1\n.\n1\n0\n10\n.\n.\n2\n.\n";

/// `text` `times` times over.
std::string repeat(const std::string& text, int times) {
  std::string out;
  for (int k = 0; k < times; ++k)
    out += text;
  return out;
}

/// Text with its zero bytes.
template <std::size_t n> std::string bytes(const char (&text)[n]) {
  return std::string(text, n - 1);
}

struct BadRequest {
  std::string what;
  std::string request;
  /// The first line of the error message.
  std::string message;
};

/// Skips error replies (the bad request's leftover lines arriving as
/// commands) at `at`; answers where they end.
std::size_t skipErrorReplies(const std::string& out, std::size_t at) {
  while (std::string_view(out).substr(at, 6) == "error\n") {
    const std::size_t end = out.find("\n.\n", at + 5);
    if (end == std::string::npos)
      return at;
    at = end + 3;
  }
  return at;
}

/// Runs `before`, the bad request and `probe`, and compares with the session
/// without the bad request; `reload` is sent between the bad request and the
/// probe.
void expectAnsweredAndNothingLost(const BadRequest& bad, const std::string& reload = "") {
  SCOPED_TRACE(bad.what.substr(0, 60));
  // The sessions without a bad request, run once for every case.
  static const std::string setUp = replies(before);
  static std::map<std::string, std::string> references;
  if (!references.count(reload))
    references[reload] = replies(before + reload + probe);
  const std::string& reference = references[reload];
  ASSERT_EQ(reference.substr(0, setUp.size()), setUp);
  const std::string expectedProbe = reference.substr(setUp.size());

  const std::string out = replies(before + bad.request + reload + probe);
  const std::string firstError = "error\n" + bad.message + "\n";
  ASSERT_EQ(out.substr(0, setUp.size() + firstError.size()), setUp + firstError);
  const std::size_t probeAt = skipErrorReplies(out, setUp.size());
  EXPECT_EQ(out.substr(probeAt), expectedProbe);
}

TEST(MalformedRequests, ServiceLinesAreAnsweredAndForgotten) {
  for (const BadRequest& bad : std::initializer_list<BadRequest>{
           {"wrong case", "GetInitialState\n", "GetInitialState: Unknown command"},
           {"over-long", std::string(5000, 'q') + "\n", std::string(18, 'q') + ": Unknown command"},
           // the name is reported up to its first zero byte
           {"binary", bytes("\x01\xff\x00\x7f\n"), "\x01\xff: Unknown command"}})
    expectAnsweredAndNothingLost(bad);
}

TEST(MalformedRequests, StateBlocksOfEverySimulationService) {
  const std::initializer_list<BadRequest> blocks = {
      {"truncated", "1\n.\n1\n0\n10\n.\n.\n.\n", "Bad integer value"},
      {"a location too many", "1\n1\n.\n.\n2\n.\n", "No terminating . after control state"},
      {"location beyond int", "99999999999\n.\n.\n2\n.\n", "Bad integer value"},
      {"location out of range", "3\n.\n.\n2\n.\n", "State inconsistent with current system"},
      {"negative location", "-1\n.\n.\n2\n.\n", "Bad control state"},
      {"clock out of range", "1\n.\n2\n0\n10\n.\n.\n2\n.\n",
       "State inconsistent with current system"},
      {"negative clock", "1\n.\n0\n-1\n10\n.\n.\n2\n.\n", "Bad constraint"},
      {"garbage bound", "1\n.\n1\n0\nten\n.\n.\n2\n.\n", "Bad integer value"},
      {"constraint of five lines", "1\n.\n1\n0\n10\n0\n.\n.\n2\n.\n",
       "No terminating . after constraint"},
      {"integer outside its domain", "1\n.\n.\n4\n.\n", "State inconsistent with current system"},
      {"integer too many", "1\n.\n.\n2\n2\n.\n", "No terminating . after integer assignment"},
      {"over-long line", "1\n.\n1\n0\n" + std::string(300, '9') + "\n.\n.\n2\n.\n",
       "Request line longer than 98 characters"}};

  for (const char* service : {"getTransitions\n", "getSuccessor\n", "startState\n"}) {
    SCOPED_TRACE(service);
    for (const BadRequest& bad : blocks)
      expectAnsweredAndNothingLost({bad.what, service + bad.request, bad.message});
  }
}

/// Whether the point with clocks 1 and 2 at x and y thirds of a time unit
/// satisfies every group of `zone`.
bool contains(const std::vector<Constraint>& zone, long x, long y) {
  const long value[] = {0, x, y};
  for (const Constraint& c : zone) {
    const long difference = value[c.i] - value[c.j];
    const long bound = 3 * (c.v >> 1); // v halved, rounded down
    if (c.v & 1 ? difference >= bound : difference > bound)
      return false;
  }
  return true;
}

/// Up to four groups over the reference clock and two clocks, diagonal
/// entries included, with bounds mostly small and now and then near the
/// limits of int (or at 2^30, where raw bounds reach them).
std::vector<Constraint> randomZone(std::mt19937& random) {
  static const long extremes[] = {INT_MAX,        INT_MAX - 1,     INT_MIN,        INT_MIN + 1,
                                  INT_MAX - 4,    INT_MIN + 5,     1L << 30,       -(1L << 30),
                                  (1L << 30) + 1, -(1L << 30) - 1, (1L << 30) - 3, 3 - (1L << 30)};
  std::vector<Constraint> zone(random() % 5);
  for (Constraint& c : zone) {
    c.i = long(random() % 3);
    c.j = long(random() % 3);
    c.v = random() % 3 == 0 ? extremes[random() % std::size(extremes)] : long(random() % 25) - 12;
  }
  return zone;
}

// Random zones sent to every service that reads a state, in one session. A
// zone is refused as out of range (only one with a bound of 2^29 or more), or it is the conjunction
// of its groups with x, y >= 0: the successor by a loop on an urgent location, which keeps the
// zone, holds the same points of a grid in thirds of a time unit (enough to tell strict bounds
// apart) reaching below 0, "getSuccessor" answers that successor, and a search from the zone
// reaches its location iff it is not empty. A refused start state leaves the previous one. Later
// requests are answered as before.
TEST(MalformedRequests, RandomZonesAreClosedOrRefusedByEveryServiceThatReadsAState) {
  const std::string model = "clock x, y;\nprocess P { state a, b; urgent a; init a;\n"
                            "  trans a -> a {}, a -> b {}; }\nsystem P;";
  const std::string probe = "startState\n0\n.\n2\n0\n6\n.\n.\n.\n" + modelCheck("E<> P.b") +
                            "getInitialState\ngetTransitions\n0\n.\n0\n1\n-4\n.\n.\n.\n";
  std::mt19937 random(2024);
  std::vector<std::vector<Constraint>> zones;
  std::vector<std::string> blocks;
  std::string requests;
  for (int k = 0; k < 300; ++k) {
    zones.push_back(randomZone(random));
    std::string block = "0\n.\n";
    for (const Constraint& c : zones.back())
      block +=
          std::to_string(c.i) + "\n" + std::to_string(c.j) + "\n" + std::to_string(c.v) + "\n.\n";
    blocks.push_back(block + ".\n.\n");
    requests += "getTransitions\n" + blocks.back() + "startState\n" + blocks.back() +
                modelCheck("E<> P.a") + "getSuccessor\n" + blocks.back() + "1\n0\n0\n.\n";
  }
  // Zones are answered in full, x, y >= 0 included.
  const std::string load = newSystem(model) + setOptions("zoneFormat 0\n");
  ReplyReader reply(replies(load + requests + probe));
  reply.skipLines(6);
  const std::string refused = error("Bound out of range in constraint");
  auto expectReply = [&](const std::string& expected) {
    ReplyReader lines(expected);
    for (std::string line = lines.line(); !line.empty(); line = lines.line())
      ASSERT_EQ(reply.line(), line);
  };
  bool startHasPoints = true; // the model's initial state
  for (std::size_t k = 0; k < zones.size(); ++k) {
    SCOPED_TRACE(blocks[k]);
    const std::vector<Constraint>& zone = zones[k];
    if (reply.skip("error")) {
      EXPECT_TRUE(std::any_of(zone.begin(), zone.end(),
                              [](const Constraint& c) { return std::abs(c.v) >= 1L << 30; }));
      expectReply(refused.substr(6) + refused + "ok\n" + (startHasPoints ? "T" : "F") +
                  "\n0\n0\n.\n" + refused + error("1: Unknown command") +
                  error("0: Unknown command") + error("0: Unknown command") +
                  error(".: Unknown command"));
      continue;
    }
    ASSERT_EQ(reply.line(), "ok");
    std::optional<StateBlock> kept; // the successor by the loop
    while (!reply.skip(".")) {
      const StateBlock successor = reply.block(1, 0);
      if (reply.line() == "0 1")
        kept = successor;
      ASSERT_EQ(reply.line(), ".");
    }
    for (long x = -3; x <= 42; ++x)
      for (long y = -3; y <= 42; ++y)
        if ((x >= 0 && y >= 0 && contains(zone, x, y)) != (kept && contains(kept->zone, x, y))) {
          ADD_FAILURE() << "the point (" << x << "/3, " << y << "/3)";
          x = y = 43;
        }
    startHasPoints = kept.has_value();
    expectReply("ok\n.\nok\n" + std::string(kept ? "T" : "F") + "\n0\n0\n.\nok\n" +
                (kept ? kept->text : ""));
  }
  ReplyReader fresh(replies(load + probe));
  fresh.skipLines(6);
  EXPECT_EQ(reply.rest(), fresh.rest());
}

TEST(MalformedRequests, EdgeReferencesOfASuccessorRequest) {
  for (const BadRequest& bad : std::initializer_list<BadRequest>{
           {"garbage count", "one\n0\n1\n.\n", "Bad integer value"},
           {"process out of range", "1\n1\n0\n.\n", "State inconsistent with current system"},
           {"edge out of range", "1\n0\n3\n.\n", "State inconsistent with current system"},
           {"no end", "1\n0\n1\n0\n.\n", "End of request expected"}})
    expectAnsweredAndNothingLost({bad.what, "getSuccessor\n" + state + bad.request, bad.message});
}

TEST(MalformedRequests, WatchLists) {
  for (const std::string service : {"domainInit\n", "wcrtInit\n"}) {
    // Two numbers, garbage, a process below -1, a location beyond the model.
    for (const std::string& items :
         std::initializer_list<std::string>{"0 1\n", "zero one two\n", "-2 0 0\n", "0 9 0\n"})
      expectAnsweredAndNothingLost({service + items, service + items + ".\n", "Not a PLV tripple"});
  }
}

TEST(MalformedRequests, Properties) {
  // Syntax, an unknown location, nesting and an operator chain beyond the
  // parser's stack.
  for (const std::string& property : std::initializer_list<std::string>{
           "E<> (P.on", "E<> P.off2", "E<> " + std::string(20000, '(') + "P.on",
           "E<> n == 1" + repeat(" + 1", 100000)})
    expectAnsweredAndNothingLost({property, modelCheck(property), "Bad property"});
}

// A description with errors drops the model (see SystemServiceTest); loading
// it again must give back a session that answers like a fresh one.
TEST(MalformedRequests, SystemDescriptions) {
  // Syntax, a wrong count, an over-long line, an operator chain.
  for (const std::string& description : std::initializer_list<std::string>{
           "clock x;\nprocess P { state a; init a }\nsystem P;",
           "int a[2] := {1, 2, 3};\nprocess P { state s; init s; }\nsystem P;",
           std::string(100000, 'x'), "const K 1" + repeat(" + 1", 100000) + ";\n" + lamp})
    expectAnsweredAndNothingLost({description, newSystem(description), "Syntax errors in system."},
                                 before);
}

TEST(MalformedRequests, TruncatedBodiesEndTheSessionCleanly) {
  for (const std::string& request :
       {std::string("newSystem\nclock x;\n"), std::string("modelCheck\nE<> P.on\n")}) {
    const ProcessResult result = runServer(before + request);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.out, "ok\n.\n" + replies(before) +
                              "error\nProtocol violation when receiving " +
                              (request[0] == 'n' ? "system" : "property") + "\n.\n");
  }
}

} // namespace
} // namespace orvela
