// The verifier's reports through its binary: the JSON document with its
// documented fields, and diagnostic traces as text and as JSON.

#include "VerifierFixture.h"

#include <fstream>
#include <iterator>
#include <set>

namespace orvela::test {
namespace {

void expectStatistics(const Json& stats) {
  for (const char* field : {"explored", "stored", "seconds", "peak_mib"}) {
    EXPECT_TRUE(stats.at(field).is_number()) << field;
    EXPECT_GE(stats.at(field).get<double>(), 0) << field;
  }
}

TEST(VerifierJson, WritesTheDocumentedFields) {
  TempFile model("handshake.ta", handshakeModel);
  const JsonRun run =
      runVerifierJson({"--order", "dfs", "--reduction", "0", "--time-limit", "60", "--trace",
                       model.path(), "-e", "E<> P.done", "-e", "A[] n <= 1"});
  const Json& document = run.document;
  EXPECT_EQ(document.at("schema").get<double>(), 1);
  EXPECT_EQ(document.at("model").get<std::string>(), model.path());
  const Json& options = document.at("options");
  EXPECT_EQ(options.at("order").get<std::string>(), "dfs");
  EXPECT_EQ(options.at("representation").get<std::string>(), "exact");
  EXPECT_EQ(options.at("reduction").get<double>(), 0);
  EXPECT_EQ(options.at("extrapolation").get<std::string>(), "local-lu");
  EXPECT_EQ(options.at("subsumption").get<std::string>(), "lu");
  EXPECT_FALSE(options.at("reuse").get<bool>());
  EXPECT_TRUE(options.at("trace").get<bool>());
  EXPECT_EQ(options.at("zone_format").get<double>(), 1);
  EXPECT_EQ(options.at("time_limit").get<double>(), 60);
  EXPECT_TRUE(options.at("memory_limit").is_null());

  const Json& properties = document.at("properties");
  ASSERT_EQ(properties.size(), 2u);
  const char* const kinds[] = {"possibly", "invariantly"};
  double explored = 0, stored = 0;
  for (std::size_t k = 0; k < 2; ++k) {
    const Json& property = properties[k];
    EXPECT_EQ(property.at("kind").get<std::string>(), kinds[k]);
    EXPECT_EQ(property.at("verdict").get<std::string>(), "satisfied");
    EXPECT_TRUE(property.at("reason").is_null());
    EXPECT_TRUE(property.at("loop_start").is_null());
    expectStatistics(property.at("stats"));
    explored += property.at("stats").at("explored").get<double>();
    stored += property.at("stats").at("stored").get<double>();
  }
  // A trace for the property that was found, its steps as in the text report.
  const Json& trace = properties[0].at("trace");
  ASSERT_EQ(trace.size(), 3u);
  EXPECT_TRUE(properties[1].at("trace").is_null());
  const Json& step = trace[1];
  EXPECT_EQ(step.at("state").at("locations").at("Q").get<std::string>(), "t");
  EXPECT_EQ(step.at("state").at("variables").at("n").get<double>(), 1);
  EXPECT_EQ(step.at("state").at("zone")[0].get<std::string>(), "x<=4");
  ASSERT_EQ(step.at("edges").size(), 2u);
  const char* const fields[] = {"process", "source", "target", "guard", "sync", "updates"};
  const char* const values[] = {"P", "a", "b", "n==0", "c!", "x:=0, n:=1"};
  for (std::size_t k = 0; k < std::size(fields); ++k)
    EXPECT_EQ(step.at("edges")[0].at(fields[k]).get<std::string>(), values[k]) << fields[k];
  expectStatistics(document.at("stats"));
  EXPECT_EQ(document.at("stats").at("explored").get<double>(), explored);
  EXPECT_EQ(document.at("stats").at("stored").get<double>(), stored);
  EXPECT_TRUE(document.at("error").is_null());
  EXPECT_EQ(document.at("model_errors").size(), 0u);
  EXPECT_EQ(document.at("warnings").size(), 0u);
  EXPECT_EQ(document.at("exit_code").get<double>(), 0);
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
      {"guard -(n - 2147483647 - 2) > 0;", {"arithmetic overflow"}}, // negation
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
    const Json& warnings = run.document.at("warnings");
    ASSERT_EQ(warnings.size(), c.kinds.size()) << c.edge;
    for (std::size_t k = 0; k < c.kinds.size(); ++k) {
      EXPECT_EQ(warnings[k].at("kind").get<std::string>(), c.kinds[k]) << c.edge;
      EXPECT_GE(warnings[k].at("count").get<double>(), 1) << c.edge;
      EXPECT_EQ(warnings[k].at("where").get<std::string>(), "line 4 in process P") << c.edge;
    }
    EXPECT_EQ(run.document.at("warnings_note").is_null(), c.kinds.empty()) << c.edge;
    EXPECT_EQ(run.process.exitStatus, 0) << c.edge;
  }
}

TEST(VerifierJson, StaysValidForAnyPropertyText) {
  TempFile model("handshake.ta", handshakeModel);
  const std::string odd = "E<> \"quoted\" \\ back\ttab \x01 \xff end";
  const JsonRun run = runVerifierJson({model.path(), "-e", odd});
  const Json& property = run.document.at("properties")[0];
  // The byte that is not UTF-8 stands as U+FFFD.
  EXPECT_EQ(property.at("property").get<std::string>(),
            "E<> \"quoted\" \\ back\ttab \x01 \xEF\xBF\xBD end");
  EXPECT_EQ(property.at("verdict").get<std::string>(), "unknown");
  EXPECT_EQ(property.at("reason").get<std::string>(), "Bad property: unknown symbol '\"'");
  EXPECT_EQ(property.at("column").get<double>(), 5);
  EXPECT_TRUE(property.at("kind").is_null());
  EXPECT_EQ(run.process.exitStatus, 3);
}

// The edges of a synchronisation stand one under the other; a liveness trace
// says where its loop starts.
TEST(VerifierTrace, NamesTheEdgesTakenTheStatesReachedAndWhereALoopStarts) {
  TempFile handshake("handshake.ta", handshakeModel);
  // The invariants keep P moving between a and b for ever.
  TempFile loop("loop.ta", "clock x;\nint [0,1] n;\nprocess P {\n"
                           "  state a { x <= 2 }, b { x <= 2 };\n  init a;\n"
                           "  trans a -> b { guard x >= 1; assign x := 0, n := 1; },\n"
                           "        b -> a { guard x >= 1; assign x := 0; };\n}\nsystem P;\n");
  const std::string indent(17, ' ');
  const std::string toB = ": P: a -> b { guard x>=1; assign x:=0, n:=1; }";
  const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
      {{handshake.path(), "-e", "E<> P.done"},
       {"satisfied      E<> P.done  (possibly)",
        "               trace of 2 steps:", indent + "state 0: (P.a, Q.s) n=0",
        indent + "step 1: P: a -> b { guard n==0; sync c!; assign x:=0, n:=1; }",
        indent + "        Q: s -> t { sync c?; }", indent + "state 1: (P.b, Q.t) n=1 {x<=4}",
        indent + "step 2: P: b -> done { guard x>=2; }",
        indent + "state 2: (P.done, Q.t) n=1 {x>=2}"}},
      {{loop.path(), "-e", "E[] P.a or P.b"},
       {"satisfied      E[] P.a or P.b  (potentially always)",
        "               trace of 3 steps, looping back to state 1 after step 3:",
        indent + "state 0: (P.a) n=0 {x<=2}", indent + "step 1" + toB,
        indent + "state 1: (P.b) n=1 {x<=2}",
        indent + "loop:", indent + "step 2: P: b -> a { guard x>=1; assign x:=0; }",
        indent + "state 2: (P.a) n=1 {x<=2}", indent + "step 3" + toB,
        indent + "state 3: (P.b) n=1 {x<=2}"}},
      // The concrete run: x > 3 is first reached half a unit after 3.
      {{"concrete", handshake.path(), "-e", "E<> P.done and x > 3"},
       {"satisfied      E<> P.done and x > 3  (possibly)", "               trace of 2 steps:",
        indent + "state 0: (P.a, Q.s) n=0", indent + "  x=0", indent + "delay 0",
        indent + "step 1: P: a -> b { guard n==0; sync c!; assign x:=0, n:=1; }",
        indent + "        Q: s -> t { sync c?; }", indent + "state 1: (P.b, Q.t) n=1 {x<=4}",
        indent + "  x=0", indent + "delay 5/2", indent + "step 2: P: b -> done { guard x>=2; }",
        indent + "state 2: (P.done, Q.t) n=1 {x>=2}", indent + "  x=5/2", indent + "delay 1"}},
  };
  for (auto [args, lines] : cases) {
    args.insert(args.begin(), "--trace");
    const ProcessResult run = runVerifier(args);
    EXPECT_EQ(linesOf(run.out), lines) << run.err;
  }
  const JsonRun json = runVerifierJson({"--trace", loop.path(), "-e", "E[] P.a or P.b"});
  const Json& property = json.document.at("properties")[0];
  EXPECT_EQ(property.at("trace").size(), 4u);
  EXPECT_EQ(property.at("loop_start").get<double>(), 1);

  TempFile dot("trace.dot", "");
  const JsonRun concrete = runVerifierJson(
      {"--trace=concrete", "--dot", dot.path(), handshake.path(), "-e", "E<> P.done and x > 3"});
  const Json& run = concrete.document.at("properties")[0];
  EXPECT_FALSE(run.at("trace")[0].contains("delay"));
  EXPECT_EQ(run.at("trace")[2].at("delay").get<std::string>(), "5/2");
  EXPECT_EQ(run.at("trace")[2].at("clocks").at("x").get<std::string>(), "5/2");
  EXPECT_EQ(run.at("final_delay").get<std::string>(), "1");
  std::ifstream drawn(dot.path());
  const std::string graph{std::istreambuf_iterator<char>(drawn), {}};
  EXPECT_EQ(graph, "digraph trace {\n  node [shape=box];\n  label=\"E<> P.done and x > 3\";\n"
                   "  s0 [label=\"(P.a, Q.s) n=0 {x=0}\"];\n"
                   "  s1 [label=\"(P.b, Q.t) n=1 {x=0}\"];\n"
                   "  s2 [label=\"(P.done, Q.t) n=1 {x=5/2}\\nthen delay 1\"];\n"
                   "  s0 -> s1 [label=\"delay 0\\nP: a -> b { guard n==0; sync c!; assign "
                   "x:=0, n:=1; }\\nQ: s -> t { sync c?; }\"];\n"
                   "  s1 -> s2 [label=\"delay 5/2\\nP: b -> done { guard x>=2; }\"];\n}\n");
}

std::set<std::string> zoneOf(const Json& step) {
  std::set<std::string> zone;
  for (const Json& constraint : step.at("state").at("zone"))
    zone.insert(constraint.get<std::string>());
  return zone;
}

TEST(VerifierTrace, ZoneFormatZeroShowsEveryBoundAndOneTheMinimalConstraints) {
  TempFile file("fischer3.ta", fischerModel(3));
  const JsonRun full =
      runVerifierJson({"--zone-format", "0", "--trace", file.path(), "-e", "E<> P1.req"});
  const JsonRun minimal = runVerifierJson({"--trace", file.path(), "-e", "E<> P1.req"});
  const Json& fullTrace = full.document.at("properties")[0].at("trace");
  const Json& minimalTrace = minimal.document.at("properties")[0].at("trace");
  ASSERT_EQ(fullTrace.size(), minimalTrace.size());
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
