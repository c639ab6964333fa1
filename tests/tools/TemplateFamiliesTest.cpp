// Process templates through the verifier: families of models written out by
// hand and with templates get the same verdicts, state counts and traces,
// the instances' names aside.

#include "VerifierFixture.h"

namespace orvela::test {
namespace {

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

/// A family member: `globals` (with processes listed first in the system
/// line, `others`) and processes `name`1, ... that differ only in the
/// parameters, written $parameter in the body.
struct Family {
  std::string globals, others, name, parameters, body;
  std::vector<std::string> names;
  std::vector<std::vector<std::string>> arguments; ///< per process
  bool inSystemLine; ///< instances made in the system line (else named like the processes)
  std::vector<std::string> properties; ///< over the written-out names; the first has a trace

  std::string written(std::size_t k) const { return name + std::to_string(k + 1); }
  std::string call(std::size_t k) const {
    std::string text = name + "(";
    for (const std::string& argument : arguments[k])
      text += (text.back() == '(' ? "" : ",") + argument;
    return text + ")";
  }
  std::string instance(std::size_t k) const { return inSystemLine ? call(k) : written(k); }
  std::string process(const std::vector<std::string>& values) const {
    std::string text = body;
    for (std::size_t p = 0; p < names.size(); ++p)
      replaceAll(text, "$" + names[p], values[p]);
    return " {" + text + "}\n";
  }
  std::string model(bool templated) const {
    std::string text = globals, system = "system " + others;
    if (templated)
      text += "process " + name + "(" + parameters + ")" + process(names);
    for (std::size_t k = 0; k < arguments.size(); ++k) {
      if (!templated)
        text += "process " + written(k) + process(arguments[k]);
      else if (!inSystemLine)
        text += written(k) + " := " + call(k) + ";\n";
      system += (system.back() == ' ' ? "" : ", ") + (templated ? instance(k) : written(k));
    }
    return text + system + ";\n";
  }
  /// `text` over the written-out names, with the instances' names instead.
  std::string renamed(std::string text) const {
    for (std::size_t k = arguments.size(); k-- > 0;) {
      replaceAll(text, written(k) + ".", instance(k) + ".");
      replaceAll(text, '"' + written(k) + '"', '"' + instance(k) + '"');
    }
    return text;
  }
};

// The models as tables: one line of text each where it fits.
// clang-format off
Family fischer(int n) {
  Family f{"const k 2; int [0," + std::to_string(n) + "] id;", "", "P",
    "const i, const d, int &lock",
    "clock x; state A, req { x <= $d }, wait, cs; init A;"
    "trans A -> req { guard $lock == 0; assign x := 0; },"
    "  req -> wait { guard x <= $d; assign x := 0, $lock := $i; },"
    "  wait -> req { guard $lock == 0; assign x := 0; },"
    "  wait -> cs { guard x > $d, $lock == $i; }, cs -> A { assign $lock := 0; };",
    {"i", "d", "lock"}, {}, false, {"E<> P1.cs and P2.wait", "A[] not (P1.cs and P2.cs)",
    "E<> P2.req and P2.x > 1", "P1.req --> P1.wait", "A[] not deadlock"}};
  for (int p = 1; p <= n; ++p)
    f.arguments.push_back({std::to_string(p), "k", "id"});
  return f;
}

Family trainGate(int n) {
  std::string shift;
  for (int k = 0; k + 1 < n; ++k)
    shift += "list[" + std::to_string(k) + "] := list[" + std::to_string(k + 1) + "], ";
  Family f{"const N " + std::to_string(n) + "; urgent chan go[N]; chan appr, stop[N], leave[N];"
    "int [0,N-1] e, list[N]; int [0,N] len;"
    "process Gate { state Free, Occ, Stopping; commit Stopping; init Free;"
    "trans Free -> Occ { guard len == 0; sync appr?; assign list[len] := e, len := len + 1; },"
    "  Free -> Occ { guard len > 0; sync go[list[0]]!; },"
    "  Occ -> Stopping { sync appr?; assign list[len] := e, len := len + 1; },"
    "  Stopping -> Occ { sync stop[list[len - 1]]!; },"
    "  Occ -> Free { sync leave[list[0]]?;"
    "    assign " + shift + "list[N-1] := 0, len := len - 1; }; }",
    "Gate", "Train", "const me, chan &halt, chan &goes[N]",
    "clock x; state Safe, Appr { x <= 20 }, Stop, Start { x <= 15 }, Cross { x <= 5 }; init Safe;"
    "trans Safe -> Appr { sync appr!; assign x := 0, e := $me; },"
    "  Appr -> Cross { guard x >= 10; assign x := 0; },"
    "  Appr -> Stop { guard x <= 10; sync $halt?; },"
    "  Stop -> Start { sync $goes[$me]?; assign x := 0; },"
    "  Start -> Cross { guard x >= 7; assign x := 0; },"
    "  Cross -> Safe { guard x >= 3; sync leave[$me]!; };",
    {"me", "halt", "goes"}, {}, false, {"E<> Train1.Stop and Train2.Cross",
    "A[] not (Train1.Cross and Train2.Cross)", "Train1.Appr --> Train1.Cross", "A[] not deadlock"}};
  for (int k = 0; k < n; ++k)
    f.arguments.push_back({std::to_string(k), "stop[" + std::to_string(k) + "]", "go"});
  return f;
}

Family csmacd(int n) {
  Family f{"clock c[" + std::to_string(n) + "]; const lambda 808; const sigma 26;"
    "chan begin, end; broadcast chan cd;"
    "process Bus { clock y; state Idle, Active, Collision { y < sigma }; init Idle;"
    "trans Idle -> Active { sync begin?; assign y := 0; },"
    "  Active -> Idle { sync end?; assign y := 0; },"
    "  Active -> Collision { guard y < sigma; sync begin?; assign y := 0; },"
    "  Collision -> Idle { sync cd!; assign y := 0; }; }",
    "Bus", "Station", "clock &x, chan &told",
    "state Wait, Start { $x <= lambda }, Retry { $x <= 2 * sigma }; init Wait;"
    "trans Wait -> Start { sync begin!; assign $x := 0; },"
    "  Start -> Wait { guard $x == lambda; sync end!; assign $x := 0; },"
    "  Start -> Retry { sync $told?; assign $x := 0; },"
    "  Retry -> Start { guard $x < 2 * sigma; sync begin!; assign $x := 0; },"
    "  Retry -> Wait { guard $x == 2 * sigma; assign $x := 0; };",
    {"x", "told"}, {}, true, {"E<> Station1.Retry and Station2.Start",
    "E<> Station1.Start and Station2.Start", "A[] not deadlock",
    "Station1.Start --> Station1.Wait"}};
  for (int k = 0; k < n; ++k)
    f.arguments.push_back({"c[" + std::to_string(k) + "]", "cd"});
  return f;
}
// clang-format on

/// A property's outcome without what depends on the machine or on the texts
/// of the edges (the template's body names its parameters).
Json outcome(const Json& property) {
  Json kept = {property.at("verdict"), property.at("stats").at("explored"),
               property.at("stats").at("stored"), property.at("trace")};
  if (kept[3].is_array())
    for (Json& step : kept[3])
      for (Json& edge : step.at("edges"))
        for (const char* text : {"guard", "sync", "updates"})
          edge.erase(text);
  return kept;
}

TEST(TemplateFamilies, InstancesBehaveExactlyLikeTheProcessesWrittenOut) {
  using Sizes = std::vector<int>;
  for (const auto& [family, sizes] :
       {std::pair{&fischer, Sizes{2, 3, 4}}, {&trainGate, Sizes{2, 3}}, {&csmacd, Sizes{2, 3}}})
    for (int n : sizes) {
      const Family f = family(n);
      Json outcomes[2];
      for (bool templated : {false, true}) {
        SCOPED_TRACE(f.model(templated));
        TempFile file("family.ta", f.model(templated));
        // One thread: the counts and traces of two runs are compared.
        std::vector<std::string> options{"--threads", "1", "--stats", "--trace", file.path()};
        for (const std::string& property : f.properties)
          options.insert(options.end(), {"-e", templated ? f.renamed(property) : property});
        const JsonRun run = runVerifierJson(options);
        ASSERT_LE(run.process.exitStatus, 1) << run.process.err;
        for (const Json& property : run.document.at("properties"))
          outcomes[templated].push_back(outcome(property));
      }
      EXPECT_GT(outcomes[0][0][3].size(), 1u);
      EXPECT_EQ(f.renamed(outcomes[0].dump()), outcomes[1].dump());
    }
}

} // namespace
} // namespace orvela::test
