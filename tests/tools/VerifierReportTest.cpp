// The verifier's reports through its binary: the JSON document with its
// documented fields, and diagnostic traces as text and as JSON.

#include "VerifierFixture.h"

#include <algorithm>
#include <set>

namespace orvela::test {
namespace {

using Kind = JsonValue::Kind;

void expectStatistics(const JsonValue& stats) {
  for (const char* field : {"explored", "stored", "seconds", "peak_mib"}) {
    EXPECT_EQ(stats.at(field).kind, Kind::number) << field;
    EXPECT_GE(stats.at(field).number, 0) << field;
  }
}

TEST(VerifierJson, WritesTheDocumentedFields) {
  TempFile model("handshake.ta", handshakeModel);
  const JsonRun run = runVerifierJson({"--order", "dfs", "--reduction", "0", "--time-limit", "60",
                                       model.path(), "-e", "E<> P.done", "-e", "A[] n <= 1"});
  const JsonValue& document = run.document;
  EXPECT_EQ(document.at("schema").number, 1);
  EXPECT_EQ(document.at("model").text, model.path());
  const JsonValue& options = document.at("options");
  EXPECT_EQ(options.at("order").text, "dfs");
  EXPECT_EQ(options.at("representation").text, "exact");
  EXPECT_EQ(options.at("reduction").number, 0);
  EXPECT_FALSE(options.at("reuse").boolean);
  EXPECT_FALSE(options.at("trace").boolean);
  EXPECT_EQ(options.at("zone_format").number, 1);
  EXPECT_EQ(options.at("time_limit").number, 60);
  EXPECT_TRUE(options.at("memory_limit").isNull());

  const JsonValue& properties = document.at("properties");
  ASSERT_EQ(properties.size(), 2u);
  const char* const kinds[] = {"possibly", "invariantly"};
  double explored = 0, stored = 0;
  for (std::size_t k = 0; k < 2; ++k) {
    const JsonValue& property = properties[k];
    EXPECT_EQ(property.at("kind").text, kinds[k]);
    EXPECT_EQ(property.at("verdict").text, "satisfied");
    EXPECT_TRUE(property.at("reason").isNull());
    EXPECT_TRUE(property.at("trace").isNull()); // not asked for
    expectStatistics(property.at("stats"));
    explored += property.at("stats").at("explored").number;
    stored += property.at("stats").at("stored").number;
  }
  expectStatistics(document.at("stats"));
  EXPECT_EQ(document.at("stats").at("explored").number, explored);
  EXPECT_EQ(document.at("stats").at("stored").number, stored);
  EXPECT_TRUE(document.at("error").isNull());
  EXPECT_EQ(document.at("model_errors").size(), 0u);
  EXPECT_EQ(document.at("warnings").size(), 0u);
  EXPECT_EQ(document.at("exit_code").number, 0);
  EXPECT_EQ(run.process.exitStatus, 0);
}

// Wrapped-around arithmetic and clamped values are warned of with the place
// of the first; evaluations that stay in range are not.
TEST(VerifierJson, WarnsOfOverflowsAndClampedValuesWhereTheyFirstHappen) {
  struct Case {
    const char* edge;
    std::vector<std::string> kinds;
  };
  const Case cases[] = {
      {"guard n * 65536 * 65536 == 0;", {"arithmetic overflow"}},
      {"guard -(n - 2147483647 - 2) > 0;", {"arithmetic overflow"}}, // negation
      {"assign v := w + 10;", {"value clamped"}},
      {"assign a[n + 5] := 7;", {"index clamped"}},
      {"assign v := w, a[w] := n * 1000;", {}},
      {"guard n * 1073741824 * 2 != 0; assign v := 10, a[n - 9] := 1;",
       {"arithmetic overflow", "value clamped", "index clamped"}},
  };
  for (const Case& c : cases) {
    TempFile model("events.ta", std::string("int [1,3] n := 1; int [0,9] v; int [0,20] w; "
                                            "int a[3];\nprocess P {\nstate s; init s;\n"
                                            "trans s -> s { ") +
                                    c.edge + " };\n}\nsystem P;\n");
    const JsonRun run = runVerifierJson({model.path(), "-e", "A[] v <= 9"});
    const JsonValue& warnings = run.document.at("warnings");
    ASSERT_EQ(warnings.size(), c.kinds.size()) << c.edge;
    for (std::size_t k = 0; k < c.kinds.size(); ++k) {
      EXPECT_EQ(warnings[k].at("kind").text, c.kinds[k]) << c.edge;
      EXPECT_GE(warnings[k].at("count").number, 1) << c.edge;
      EXPECT_EQ(warnings[k].at("where").text, "line 4 in process P") << c.edge;
    }
    EXPECT_EQ(run.document.at("warnings_note").isNull(), c.kinds.empty()) << c.edge;
    EXPECT_EQ(run.process.exitStatus, 0) << c.edge;
  }
}

TEST(VerifierJson, StaysValidForAnyPropertyText) {
  TempFile model("handshake.ta", handshakeModel);
  const std::string odd = "E<> \"quoted\" \\ back\ttab \x01 \xff end";
  const JsonRun run = runVerifierJson({model.path(), "-e", odd});
  const JsonValue& property = run.document.at("properties")[0];
  EXPECT_EQ(property.at("property").text, "E<> \"quoted\" \\ back\ttab \x01 ? end");
  EXPECT_EQ(property.at("verdict").text, "unknown");
  EXPECT_EQ(property.at("reason").text, "Bad property");
  EXPECT_TRUE(property.at("kind").isNull());
  EXPECT_EQ(run.process.exitStatus, 3);
}

TEST(VerifierTrace, NamesTheEdgesTakenAndTheStatesReached) {
  TempFile model("handshake.ta", handshakeModel);
  const ProcessResult run = runVerifier({"--trace", model.path(), "-e", "E<> P.done"});
  EXPECT_EQ(linesOf(run.out), (std::vector<std::string>{
                                  "satisfied      E<> P.done  (possibly)",
                                  "               trace of 2 steps:",
                                  "                 state 0: (P.a, Q.s) n=0",
                                  "                 step 1: P: a -> b { guard n==0; sync c!; "
                                  "assign x:=0, n:=1; }",
                                  "                         Q: s -> t { sync c?; }",
                                  "                 state 1: (P.b, Q.t) n=1 {x<=4}",
                                  "                 step 2: P: b -> done { guard x>=2; }",
                                  "                 state 2: (P.done, Q.t) n=1 {x>=2}",
                              }))
      << run.err;
}

std::set<std::string> zoneOf(const JsonValue& step) {
  std::set<std::string> zone;
  for (const JsonValue& constraint : step.at("state").at("zone").items)
    zone.insert(constraint.text);
  return zone;
}

TEST(VerifierTrace, ALivenessTraceIsAPathAndALoopBackToOneOfItsStates) {
  // The invariants keep P moving between a and b for ever.
  TempFile model("loop.ta", "clock x;\nint [0,1] n;\nprocess P {\n"
                            "  state a { x <= 2 }, b { x <= 2 };\n  init a;\n"
                            "  trans a -> b { guard x >= 1; assign x := 0, n := 1; },\n"
                            "        b -> a { guard x >= 1; assign x := 0; };\n}\nsystem P;\n");
  const JsonRun run = runVerifierJson({"--trace", model.path(), "-e", "E[] P.a or P.b"});
  const JsonValue& property = run.document.at("properties")[0];
  ASSERT_EQ(property.at("verdict").text, "satisfied") << run.process.err;
  EXPECT_EQ(property.at("kind").text, "potentially always");
  const JsonValue& trace = property.at("trace");
  ASSERT_EQ(property.at("loop_start").kind, Kind::number);
  const std::size_t loopStart = std::size_t(property.at("loop_start").number);
  ASSERT_LT(loopStart + 1, trace.size());
  // The loop ends in the state it started from.
  const JsonValue& first = trace[loopStart].at("state");
  const JsonValue& last = trace[trace.size() - 1].at("state");
  EXPECT_EQ(first.at("locations").at("P").text, last.at("locations").at("P").text);
  EXPECT_EQ(first.at("variables").at("n").number, last.at("variables").at("n").number);
  EXPECT_EQ(zoneOf(trace[loopStart]), zoneOf(trace[trace.size() - 1]));
  // Each step takes an edge from where the previous state was to where it is.
  for (std::size_t k = 1; k < trace.size(); ++k) {
    ASSERT_EQ(trace[k].at("edges").size(), 1u);
    const JsonValue& edge = trace[k].at("edges")[0];
    EXPECT_EQ(trace[k - 1].at("state").at("locations").at("P").text, edge.at("source").text);
    EXPECT_EQ(trace[k].at("state").at("locations").at("P").text, edge.at("target").text);
  }

  const ProcessResult text = runVerifier({"--trace", model.path(), "-e", "E[] P.a or P.b"});
  const std::vector<std::string> lines = linesOf(text.out);
  const std::string loopLine = "                 loop:";
  const auto loop = std::find(lines.begin(), lines.end(), loopLine);
  ASSERT_NE(loop, lines.end()) << text.out;
  // The loop's first step follows the state it starts from.
  EXPECT_EQ((loop - 1)->rfind("                 state " + std::to_string(loopStart) + ": ", 0), 0u)
      << text.out;
  EXPECT_EQ((loop + 1)->rfind("                 step " + std::to_string(loopStart + 1) + ": ", 0),
            0u)
      << text.out;
}

TEST(VerifierTrace, ZoneFormatZeroShowsEveryBoundAndOneTheMinimalConstraints) {
  TempFile file("fischer3.ta", fischerModel(3));
  const JsonRun full =
      runVerifierJson({"--zone-format", "0", "--trace", file.path(), "-e", "E<> P1.req"});
  const JsonRun minimal = runVerifierJson({"--trace", file.path(), "-e", "E<> P1.req"});
  const JsonValue& fullTrace = full.document.at("properties")[0].at("trace");
  const JsonValue& minimalTrace = minimal.document.at("properties")[0].at("trace");
  ASSERT_EQ(fullTrace.size(), minimalTrace.size());
  // At the start the three clocks are equal: every difference is bounded by
  // 0 in the closed matrix, and a cycle of three such bounds says it all.
  EXPECT_EQ(zoneOf(fullTrace[0]).size(), 6u);
  EXPECT_EQ(zoneOf(minimalTrace[0]).size(), 3u);
  // After P1 enters req: P1.x <= 2, P1.x at most the other two, which are
  // equal; one of P1's two differences follows from the other.
  const std::set<std::string> all = zoneOf(fullTrace[1]);
  const std::set<std::string> kept = zoneOf(minimalTrace[1]);
  EXPECT_EQ(all, (std::set<std::string>{"P1.x<=2", "P1.x-P2.x<=0", "P1.x-P3.x<=0", "P2.x-P3.x<=0",
                                        "P3.x-P2.x<=0"}));
  EXPECT_TRUE(std::includes(all.begin(), all.end(), kept.begin(), kept.end()));
  EXPECT_EQ(kept.size(), 4u);
  EXPECT_TRUE(kept.count("P1.x<=2"));
}

} // namespace
} // namespace orvela::test
