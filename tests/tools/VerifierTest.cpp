// The command-line verifier through its binary: verdict lines, exit codes,
// query files, bad input and the help text.

#include "VerifierFixture.h"

#include <cstring>
#include <fstream>
#include <tuple>

namespace orvela::test {
namespace {

const char* const reachable = "E<> P.done";
const char* const invariant = "A[] n <= 1";
const char* const unreachable = "E<> n == 2";
const char* const violated = "A[] not P.done";

TEST(Verifier, WritesOneVerdictLinePerPropertyAndAnExitStatusForAll) {
  TempFile model("handshake.ta", handshakeModel);
  const std::string bitStateMaybe =
      "maybe          A[] n <= 1  (invariantly; bit-state hashing may have missed states)";
  const std::string holds = "satisfied      E<> P.done  (possibly)";
  const std::string always = "satisfied      A[] n <= 1  (invariantly)";
  const std::string never = "not satisfied  E<> n == 2  (possibly)";
  struct Case {
    std::vector<std::string> options, properties, lines;
    int status;
  };
  const Case cases[] = {
      {{},
       {reachable, invariant, unreachable, violated},
       {holds, always, never, "not satisfied  A[] not P.done  (invariantly)"},
       1},
      // Bit-state hashing under-approximates: an invariant is maybe.
      {{"--representation", "bitstate"}, {invariant}, {bitStateMaybe}, 2},
      // A definite failure outranks an inconclusive answer (a counterexample
      // that bit-state hashing found is real) ...
      {{"--representation", "bitstate"},
       {invariant, violated},
       {bitStateMaybe, "not satisfied  A[] not P.done  (invariantly)"},
       1},
      // ... and a rejected property outranks both.
      {{},
       {unreachable, "E<> P.nowhere"},
       {never,
        "unknown        E<> P.nowhere  (Bad property: unknown location 'nowhere' of process P)"},
       3},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.options;
    args.push_back(model.path());
    for (const std::string& property : c.properties)
      args.insert(args.end(), {"-e", property});
    SCOPED_TRACE(testing::PrintToString(args));
    const ProcessResult run = runVerifier(args);
    EXPECT_EQ(linesOf(run.out), c.lines) << run.err;
    EXPECT_EQ(run.exitStatus, c.status);
  }
}

TEST(Verifier, ApproximationsLeaveOpenOnlyWhatTheyCannotDecide) {
  // P reaches l with x == y, or with x - y == 2 (x == 2, then y reset). The
  // convex hull of both zones holds x - y == 1 too, where bad looks reachable.
  TempFile model("hull.ta", "clock x, y;\nprocess P {\n  state s, l, bad, stop;\n  init s;\n"
                            "  trans s -> l { guard x == 0; },\n"
                            "        s -> l { guard x == 2; assign y := 0; },\n"
                            "        l -> bad { guard x == y + 1; };\n}\nsystem P;\n");
  const char* const replayed = "; confirmed by exact replay";
  struct Case {
    const char* property;
    std::string hull, bitstate; // the verdicts, and the reason of a definite one
  };
  const Case cases[] = {
      // Found over hulls, and the exact replay of the trace ends where it holds.
      {"E<> P.l", std::string("satisfied") + replayed, "satisfied"},
      {"A[] not P.l", std::string("not satisfied") + replayed, "not satisfied"},
      // Found only over hulls: the replay stops before bad ...
      {"E<> P.bad", "maybe", "maybe"},
      {"A[] not P.bad", "maybe", "maybe"},
      // ... or ends in an exact zone without the valuation asked for.
      {"E<> P.l and x == 1 and y == 0", "maybe", "maybe"},
      // E[] and A<> search exact zones under hulls too ...
      {"E[] P.s", "satisfied", "satisfied"},
      {"A<> P.l", "not satisfied", "not satisfied"},
      // ... but leads-to looks for its p-states among the hulls.
      {"P.bad --> P.stop", "maybe", "maybe"},
  };
  std::vector<std::string> args = {model.path()};
  for (const Case& c : cases)
    args.insert(args.end(), {"-e", c.property});
  for (const std::string representation : {"hull", "bitstate"}) {
    std::vector<std::string> options = {"--representation", representation};
    options.insert(options.end(), args.begin(), args.end());
    const JsonRun run = runVerifierJson(options);
    const Json& properties = run.document.at("properties");
    ASSERT_EQ(properties.size(), std::size(cases)) << run.process.err;
    EXPECT_FALSE(run.document.at("options").at("trace").get<bool>());
    for (std::size_t k = 0; k < std::size(cases); ++k) {
      SCOPED_TRACE(representation + ": " + cases[k].property);
      const Json& property = properties[k];
      std::string answer = property.at("verdict").get<std::string>();
      if (answer == "maybe")
        EXPECT_FALSE(property.at("reason").is_null()); // an open property says why
      else if (!property.at("reason").is_null())
        answer += "; " + property.at("reason").get<std::string>();
      EXPECT_EQ(answer, representation == "hull" ? cases[k].hull : cases[k].bitstate);
      EXPECT_TRUE(property.at("trace").is_null()); // kept for the replay, not asked for
    }
  }
}

// In a, with x - y in [0, 3], the deadlocked valuations are x > 5 with
// y > 9 or x - y > 2: two zones, which the replay's last state must be cut
// into to confirm the witness.
TEST(Verifier, ReplayConfirmsWitnessesOfDeadlockFormulas) {
  TempFile model("split.ta",
                 "clock x, y;\nprocess P { state s { x <= 3 }, a { x <= 10 }, b;\n"
                 "  init s; trans s -> a { assign y := 0; },\n"
                 "  a -> b { guard x >= 1, x <= 5; }, a -> b { guard y >= 8, y <= 9; };\n"
                 "}\nsystem P;\n");
  const ProcessResult run = runVerifier({"--representation", "hull", model.path(), "-e",
                                         "E<> P.a and deadlock", "-e", "A[] not deadlock"});
  EXPECT_EQ(linesOf(run.out),
            (std::vector<std::string>{
                "satisfied      E<> P.a and deadlock  (possibly; confirmed by exact replay)",
                "not satisfied  A[] not deadlock  (invariantly; confirmed by exact replay)"}))
      << run.err;
}

TEST(Verifier, ReadsPropertiesFromAQueryFileSkippingCommentsAndBlankLines) {
  TempFile model("handshake.ta", handshakeModel);
  TempFile queries("handshake.q", "// what can happen; the last line is continued at the end of "
                                  "the file\n\nE<> P.done   // reachable\n"
                                  "  \t\n  // indented comment\nA[] n <= \\\n  1\r\nE<> n == 2 \\");
  const JsonRun run = runVerifierJson({"-e", "E<> Q.t", model.path(), queries.path()});
  const Json& properties = run.document.at("properties");
  ASSERT_EQ(properties.size(), 4u) << run.process.out;
  const std::tuple<const char*, int, const char*> expected[] = {{"E<> Q.t", 0, "satisfied"},
                                                                {"E<> P.done", 3, "satisfied"},
                                                                {"A[] n <= 1", 6, "satisfied"},
                                                                {"E<> n == 2", 8, "not satisfied"}};
  for (std::size_t k = 0; k < 4; ++k) {
    const auto& [property, line, verdict] = expected[k];
    EXPECT_EQ(properties[k].at("property").get<std::string>(), property);
    EXPECT_EQ(properties[k].at("verdict").get<std::string>(), verdict);
    EXPECT_EQ(properties[k].at("line").is_null() ? 0 : properties[k].at("line").get<double>(),
              line);
    EXPECT_EQ(properties[k].at("file").is_null() ? "" : properties[k].at("file").get<std::string>(),
              line ? queries.path() : "");
  }
}

TEST(Verifier, ReadsTheModelOrTheQueriesFromStandardInput) {
  TempFile model("handshake.ta", handshakeModel);
  TempFile queries("handshake.q", std::string(reachable) + "\n" + unreachable + "\n");
  const ProcessResult modelIn = runVerifier({"-", queries.path()}, handshakeModel);
  EXPECT_EQ(modelIn.exitStatus, 1) << modelIn.err;
  EXPECT_EQ(linesOf(modelIn.out).size(), 2u);
  const ProcessResult queriesIn =
      runVerifier({model.path(), "-"}, std::string(reachable) + "\n// none\n" + invariant + "\n");
  EXPECT_EQ(queriesIn.exitStatus, 0) << queriesIn.err;
  EXPECT_EQ(linesOf(queriesIn.out).size(), 2u);
}

TEST(Verifier, AndServerEndWithAMessageWhenTheirOutputCannotBeWritten) {
  struct Case {
    const char* program;
    std::vector<std::string> args;
    std::string input;
    int status;
  };
  const Case cases[] = {
      {ORVELA_SERVER_PATH, {}, "version\nversion\n", 1},
      {ORVELA_VERIFIER_PATH, {"-e", reachable, "-e", invariant, "-"}, handshakeModel, 4},
      {ORVELA_VERIFIER_PATH, {"--format", "json", "-e", reachable, "-"}, handshakeModel, 4},
  };
  for (const Case& c : cases) {
    const ProcessResult run = runProcess(c.program, c.args, c.input, 0, false);
    EXPECT_EQ(run.exitStatus, c.status) << c.program;
    EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
  }
}

TEST(Verifier, ReportsModelErrorsWithTheirLinesAsBadInput) {
  const std::string broken = "clock x;\nint [0,3] n;\nprocess P {\n  state a, b;\n  init a;\n"
                             "  trans a -> b { guard n == ; };\n}\nsystem P;\n";
  TempFile model("broken.ta", broken);
  const ProcessResult text = runVerifier({model.path(), "-e", "E<> P.b"});
  EXPECT_EQ(text.exitStatus, 3);
  EXPECT_EQ(text.out, "");
  // Where the unexpected ';' stands, as compilers name places.
  EXPECT_NE(text.err.find(model.path() + ":6:29: error: unexpected ';', expected "),
            std::string::npos)
      << text.err;
  EXPECT_NE(text.err.find("Syntax errors in system."), std::string::npos) << text.err;

  const JsonRun json = runVerifierJson({model.path(), "-e", "E<> P.b"});
  EXPECT_EQ(json.process.exitStatus, 3);
  const Json& messages = json.document.at("model_errors");
  ASSERT_GE(messages.size(), 1u);
  EXPECT_EQ(messages[0].get<std::string>().rfind("Error at line 6 : ", 0), 0u)
      << messages[0].get<std::string>();
  const Json& place = json.document.at("model_error_places").at(0);
  EXPECT_EQ(place.at("line").get<double>(), 6);
  EXPECT_EQ(place.at("column").get<double>(), 29);
  EXPECT_EQ(json.document.at("properties").size(), 0u);
  EXPECT_EQ(json.document.at("exit_code").get<double>(), 3);
}

TEST(Verifier, ReadsItsFilesOrSaysWhatIsWrongWithThem) {
  TempFile model("handshake.ta", handshakeModel);
  std::string windowsText;
  for (const char c : std::string(handshakeModel))
    windowsText += c == '\n' ? "\r\n" : std::string(1, c);
  TempFile windows("windows.ta", windowsText);
  TempFile windowsQueries("windows.q", "E<> P.done\r\n// comment\r\nA[] n <= \\\r\n 1\r\n");
  TempFile comments("comments.q", "// to do\n\n");
  const std::string folder = testing::TempDir();
  const std::string missing = model.path() + ".missing";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string error; // empty: none
  };
  const Case cases[] = {
      {{folder, "-e", reachable}, 3, "cannot read " + folder + ": Is a directory"},
      {{missing, "-e", reachable}, 3, "cannot read " + missing + ": No such file or directory"},
      // Opens, but every read fails.
      {{model.path(), "/proc/self/mem"}, 3, "cannot read /proc/self/mem: Input/output error"},
      {{"-e", reachable, model.path(), comments.path()},
       3,
       comments.path() + ": no property in the file"},
      {{model.path()}, 3, "no property to check: name a query file or give -e PROPERTY"},
      // Lines may end in CR LF, in the model, the query file and -e.
      {{windows.path(), windowsQueries.path(), "-e", "E<> Q.t\r"}, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const ProcessResult text = runVerifier(c.args);
    EXPECT_EQ(text.exitStatus, c.status);
    EXPECT_EQ(text.err, c.error.empty() ? "" : "orvela: " + c.error + "\n");
    const JsonRun json = runVerifierJson(c.args);
    EXPECT_EQ(json.process.exitStatus, c.status);
    const Json& error = json.document.at("error");
    EXPECT_EQ(error.is_null() ? "" : error.get<std::string>(), c.error);
  }
}

TEST(Verifier, RejectsABadPropertyWithItsPlaceAndChecksTheOthers) {
  TempFile model("handshake.ta", handshakeModel);
  // A property deeper than the parser's stack is told apart.
  const std::string nested = "E<> " + std::string(200, '(') + "n == 0" + std::string(200, ')');
  TempFile queries("bad.q", "E<> P.done\nE<> P.nowhere\nA[] n <= 1\n" + nested + "\n");
  const ProcessResult run = runVerifier({model.path(), queries.path()});
  EXPECT_EQ(run.exitStatus, 3);
  EXPECT_EQ(linesOf(run.out).size(), 4u);
  EXPECT_NE(run.err.find(queries.path() +
                         ":2:5: Bad property: unknown location 'nowhere' of process P: E<> "
                         "P.nowhere"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find(queries.path() +
                         ":4: Bad property: nested too deeply for the parser: " + nested),
            std::string::npos)
      << run.err;
}

// Clock constants at the limit of the zones (1073741822) in every place a
// constant appears, and integer constants at the end of the int range, are
// exact: the verdict, and the zone of the last state of the trace. A bound
// beyond the limit, constant or by its range, is refused naming the line;
// the language tests check the updates and properties beyond it.
TEST(Verifier, ConstantsWithinTheirRangeAreExactAndBeyondItRefusedWithTheirLine) {
  struct Case {
    const char* declarations; // line 1
    const char* locations;    // with their invariants, line 3
    const char* edge;         // the guard and updates of a -> b, line 5
    const char* property;
    const char* outcome; // the verdict, or the message
    const char* zone;    // of the last state of the trace, if there is one
  };
  const char* const outOfRange5 = ":5:24: error: Expression out of range.";
  const Case cases[] = {
      {"clock x;", "a, b", "guard x >= 1073741822;", "E<> P.b", "satisfied", "{x>=1073741822}"},
      {"clock x;", "a, b { x <= 1073741822 }", "guard x > 1073741821;", "E<> P.b", "satisfied",
       "{x>1073741821, x<=1073741822}"},
      {"clock x;", "a, b", "guard x >= 1073741823;", "E<> P.b", outOfRange5, ""},
      {"clock x; int[0, 1073741823] n;", "a, b", "guard x < n;", "E<> P.b", outOfRange5, ""},
      {"clock x;", "a, b", "assign x := 1073741822;", "E<> P.b and x < 1073741822", "not satisfied",
       ""},
      {"clock x, y;", "a, b", "assign x := y + 1073741822;", "E<> P.b and x - y == 1073741822",
       "satisfied", "{x>=1073741822, x-y<=1073741822, y-x<=-1073741822}"},
      // x in [L, 2L] after the shift: its upper bound saturates to none.
      {"clock x;", "a { x <= 1073741822 }, b", "assign x += 1073741822;",
       "E<> P.b and x > 1073741822", "satisfied", "{x>=1073741822}"},
      {"clock x;", "a, b", "", "A[] x <= 1073741822", "not satisfied", ""},
      // x - y and y at most 10^9 each in b: x reaches beyond 10^9, where a
      // closure whose sums wrapped bounded x by a negative constant.
      {"clock x, y;", "a { x <= 1000000000 }, b { y <= 1000000000 }", "assign y := 0;",
       "E<> P.b and x > 1000000000", "satisfied", "{x-y<=1000000000, y<=1000000000, y-x<=0}"},
      {"clock x; const top 2147483647; int[0, top] n;", "a, b", "assign n := top;",
       "E<> n == 2147483647", "satisfied", ""},
      {"clock x; const low -2147483647 - 1; int[low, 0] n := low;", "a, b", "",
       "E<> n < -2147483647", "satisfied", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.declarations) + " | " + c.locations + " | " + c.edge + " | " +
                 c.property);
    TempFile model("limits.ta", std::string(c.declarations) + "\nprocess P {\n  state " +
                                    c.locations + ";\n  init a;\n  trans a -> b { " + c.edge +
                                    " };\n}\nsystem P;\n");
    TempFile queries("limits.q", std::string(c.property) + "\n");
    const ProcessResult run = runVerifier({"--trace", model.path(), queries.path()});
    const std::vector<std::string> lines = linesOf(run.out);
    const std::string outcome = c.outcome;
    if (outcome.find("atisfied") == std::string::npos) {
      EXPECT_EQ(run.exitStatus, 3);
      EXPECT_NE(run.err.find(outcome), std::string::npos) << run.err;
      continue;
    }
    ASSERT_FALSE(lines.empty()) << run.err;
    EXPECT_EQ(lines[0].substr(0, lines[0].find("  ")), outcome);
    const std::string last = lines.back();
    EXPECT_EQ(last.substr(last.size() - std::min(last.size(), std::strlen(c.zone))), c.zone);
  }
}

TEST(Verifier, RejectsCommandLinesItCannotFollow) {
  TempFile model("handshake.ta", handshakeModel);
  const std::vector<std::vector<std::string>> lines = {
      {},                                    // no model
      {"--frobnicate", model.path()},        // unknown option
      {model.path(), "-e"},                  // missing value
      {"--order", "sideways", model.path()}, // not a search order
      {"--reduction", "7", model.path()},    // the session refuses it
      {"--time-limit", "-1", model.path()},  // not positive
      {"--trace=yes", model.path()},         // not a trace form
      {"--trace-kind", "fastest", "--representation", "hull", model.path()}, // needs exact zones
      {"--trace-kind", "shortest", "--order", "dfs", model.path()}, // shortest is breadth-first
      {"--explore", model.path(), "-e", reachable},  // exploration checks no property
      {"--describe", model.path(), "-e", reachable}, // nor does a description
      {"-", "-"},                                    // standard input twice
      {model.path(), model.path(), model.path()}};   // too many files
  for (const std::vector<std::string>& args : lines) {
    const ProcessResult run = runVerifier(args);
    EXPECT_EQ(run.exitStatus, 3) << testing::PrintToString(args);
    EXPECT_NE(run.err.find("orvela: "), std::string::npos) << testing::PrintToString(args);
    EXPECT_EQ(run.out, "") << testing::PrintToString(args);
  }
  // Both forms of a value are accepted.
  EXPECT_EQ(
      runVerifier({"--order=dfs", "--reduction", "0", model.path(), "-e", reachable}).exitStatus,
      0);
}

// --describe: the structure of a model in its own texts, or its errors with
// their places.
TEST(Verifier, DescribesTheModelOrWhereItIsWrong) {
  const std::string model = "clock x;\nint [0,3] n;\nchan c;\nprocess P {\n  clock y;\n"
                            "  state a, b { x <= 4 }, m, done;\n  commit m;\n  urgent done;\n"
                            "  init a;\n  trans a -> b { guard n == 0; sync c!; assign x := 0, "
                            "n := 1; },\n        b -> m { guard x >= 2; assign y := 0; },\n"
                            "        m -> done { };\n}\nprocess Q {\n  state t, s;\n  init s;\n"
                            "  trans s -> t { sync c?; };\n}\nsystem P, Q;\n";
  const auto location = [](const char* name, const char* invariant, bool initial, bool committed,
                           bool urgent) {
    return Json{{"name", name},
                {"invariant", invariant},
                {"initial", initial},
                {"committed", committed},
                {"urgent", urgent}};
  };
  const auto edge = [](const char* source, const char* target, const char* guard, const char* sync,
                       const char* updates) {
    return Json{{"source", source},
                {"target", target},
                {"guard", guard},
                {"sync", sync},
                {"updates", updates}};
  };
  const Json described = {
      {"ok", true},
      {"model",
       {{"clocks", {"x", "P.y"}},
        {"integers", {"n"}},
        {"processes",
         {{{"name", "P"},
           {"locations",
            {location("a", "", true, false, false), location("b", "x<=4", false, false, false),
             location("m", "", false, true, false), location("done", "", false, false, true)}},
           {"edges",
            {edge("a", "b", "n==0", "c!", "x:=0, n:=1"), edge("b", "m", "x>=2", "", "y:=0"),
             edge("m", "done", "", "", "")}}},
          {{"name", "Q"},
           {"locations",
            {location("t", "", false, false, false), location("s", "", true, false, false)}},
           {"edges", {edge("s", "t", "", "c?", "")}}}}}}}};
  const auto error = [](int line, int column, const char* message) {
    return Json{{"ok", false},
                {"errors", {{{"line", line}, {"column", column}, {"message", message}}}}};
  };
  std::string misspelt = model;
  misspelt.replace(misspelt.find("guard n =="), 7, "guard nn");
  struct Case {
    std::string model;
    int status;
    Json expected;
  };
  const Case cases[] = {
      {model, 0, described},
      {misspelt, 3, error(10, 24, "undeclared identifier 'nn' (did you mean 'n'?)")},
      {"", 3, error(1, 1, "unexpected end of input")}};
  for (const Case& c : cases) {
    const ProcessResult run = runVerifier({"--describe", "-"}, c.model);
    EXPECT_EQ(run.exitStatus, c.status) << c.model;
    EXPECT_EQ(Json::parse(run.out), c.expected) << run.out;
  }
}

// --explore --dot draws every stored state up to the limit, and refuses a
// larger graph without writing it.
TEST(Verifier, DrawsExplorationsUpToTheLimit) {
  for (const int states : {1000, 1001}) {
    TempFile model("counter.ta", "int [0,2000] n;\nprocess P { state a; init a; trans a -> a { "
                                 "guard n < " +
                                     std::to_string(states - 1) +
                                     "; assign n := n + 1; }; }\nsystem P;\n");
    TempFile dot("counter.dot", "");
    const ProcessResult run = runVerifier({"--explore", "--dot", dot.path(), model.path()});
    std::ifstream drawn(dot.path());
    int boxes = 0;
    for (std::string line; std::getline(drawn, line);)
      boxes += line.find("[label=\"(P.a)") != std::string::npos;
    EXPECT_EQ(run.exitStatus, states > 1000 ? 3 : 0) << run.err;
    EXPECT_EQ(boxes, states > 1000 ? 0 : states);
    EXPECT_NE(run.out.find(std::to_string(states) + " discrete states"), std::string::npos);
  }
}

TEST(Verifier, StatisticsFollowEachVerdictAndTotalThem) {
  TempFile model("handshake.ta", handshakeModel);
  const ProcessResult run =
      runVerifier({"--stats", model.path(), "-e", invariant, "-e", unreachable, "-e", "E[] P.a"});
  const std::vector<std::string> lines = linesOf(run.out);
  ASSERT_EQ(lines.size(), 7u) << run.out;
  // Both searches explore the whole state space: initial, after the
  // handshake, done. The initial state alone is a witness of E[] P.a: time
  // passes there for ever.
  EXPECT_EQ(lines[1].rfind("               explored 3, stored 3, ", 0), 0u) << lines[1];
  EXPECT_EQ(lines[3].rfind("               explored 3, stored 3, ", 0), 0u) << lines[3];
  EXPECT_EQ(lines[5].rfind("               explored 1, stored 0, ", 0), 0u) << lines[5];
  EXPECT_EQ(lines[6].rfind("total: 3 properties, explored 7, stored 6, ", 0), 0u) << lines[6];
  EXPECT_NE(lines[6].find(" MiB"), std::string::npos);
}

} // namespace
} // namespace orvela::test
