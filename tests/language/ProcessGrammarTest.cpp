#include "LanguageTest.h"
#include "support/TestState.h"
#include "symbolic/GlobalState.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::edgeOf;
using test::parse;
using test::Parsed;
using test::TestState;

// A process P with locations s0, s1, s2 and the given extra parts.
std::string processP(const std::string& body, const std::string& declarations = "") {
  return declarations + "\nprocess P { state s0, s1, s2; " + body + " }\nsystem P;";
}

std::string messagesOf(const std::string& text) { return parse(text).messages; }

TEST(ProcessGrammar, AnEdgeWithoutSourceStartsWhereThePreviousOneDid) {
  Parsed parsed = parse(processP("init s0; trans s0 -> s1 {}, -> s2 {}, s1 -> s0 {}, -> s1 {};"));
  ASSERT_TRUE(parsed.system) << parsed.messages;
  const std::pair<short, short> expected[] = {{0, 1}, {0, 2}, {1, 0}, {1, 1}};
  for (int index = 0; index < 4; ++index) {
    const Transition& edge = edgeOf(parsed, 0, index);
    EXPECT_EQ(std::pair(edge.getSource(), edge.getTarget()), expected[index]) << index;
    EXPECT_EQ(edge.getIndex(), index);
    EXPECT_EQ(edge.getProcessIndex(), 0);
  }
}

TEST(ProcessGrammar, CommitAndUrgentListsMarkTheirLocations) {
  Parsed parsed = parse(processP("commit s1, s2; urgent s2, s0; init s1;"));
  ASSERT_TRUE(parsed.system) << parsed.messages;
  const Process& process = *parsed.system->getProcess(0);
  EXPECT_EQ(process.getInitial(), 1);
  const std::pair<bool, bool> kinds[] = {{false, true}, {true, false}, {true, true}};
  for (int index = 0; index < 3; ++index) {
    const ControlState& location = *process.getControlState(index);
    EXPECT_EQ(location.getIndex(), index);
    EXPECT_EQ(std::pair(location.isCommitted(), location.isUrgent()), kinds[index]) << index;
  }
  EXPECT_STREQ(process.getControlState(2)->getName(), "s2");
  EXPECT_EQ(parsed.system->symbols()->getData(locationSymbol, process.getFirstLocationId() + 2), 2);
}

TEST(ProcessGrammar, TheSystemLineOrdersTheProcessesItNames) {
  Parsed parsed = parse("process A { state a; init a; }\n"
                        "process B { state b; init b; trans b -> b {}; }\n"
                        "process C { state c; init c; }\n"
                        "system C, B;");
  ASSERT_TRUE(parsed.system) << parsed.messages;
  ASSERT_EQ(parsed.system->getProcessCount(), 2);
  EXPECT_STREQ(parsed.system->getProcess(0)->getName(), "C");
  EXPECT_STREQ(parsed.system->getProcess(1)->getName(), "B");
  EXPECT_EQ(parsed.system->getProcess(1)->getPosition(), 1);
  EXPECT_EQ(edgeOf(parsed, 1, 0).getProcessIndex(), 1);
}

TEST(ProcessGrammar, NamesAreScopedByProcess) {
  Parsed parsed =
      parse("int x;\n"
            "process A { int x; state s, t; init s; trans s -> t { assign x := 1; }; }\n"
            "process B { state s, t; init t; trans t -> s { assign x := 2; }; }\n"
            "system A, B;");
  ASSERT_TRUE(parsed.system) << parsed.messages;
  TestState state({0, 0});
  edgeOf(parsed, 0, 0).resetAssigns(&state);
  edgeOf(parsed, 1, 0).resetAssigns(&state);
  EXPECT_EQ(state.integers, (std::vector<int>{2, 1}));
}

// True when `clock` is exactly `value` in the state's zone.
bool clockIs(const GlobalState& state, int clock, int value) {
  const UnpackedRegion& zone = *state.getUnpackedRegion();
  return zone.get(static_cast<unsigned>(clock), 0) == 2 * value + 1 &&
         zone.get(0, static_cast<unsigned>(clock)) == -2 * value + 1;
}

TEST(ProcessGrammar, ClockToClockUpdatesCopyAndThenShift) {
  // Clocks x (1), y (2), z (3), c[0] (4), c[1] (5).
  Parsed parsed = parse(processP("init s0; trans s0 -> s1 { assign y := 5, x := y + 2, z := y, "
                                 "y := y - 1; }, s1 -> s2 { assign c[i] := y + 2, c[1] := c[i] "
                                 "+ 1; };",
                                 "clock x, y, z, c[2]; int i;"));
  ASSERT_TRUE(parsed.system) << parsed.messages;
  Pointer<GlobalState> state = parsed.system->calcInitial();
  edgeOf(parsed, 0, 0).resetAssigns(state.get());
  ASSERT_TRUE(state->ok());
  EXPECT_TRUE(clockIs(*state, 1, 7));
  EXPECT_TRUE(clockIs(*state, 2, 4));
  EXPECT_TRUE(clockIs(*state, 3, 5));
  // With i = 1 the second update copies c[1] into itself before the shift.
  for (int index : {0, 1}) {
    Pointer<GlobalState> next = state->copy();
    next->getIntegerReference()[0] = index;
    edgeOf(parsed, 0, 1).resetAssigns(next.get());
    ASSERT_TRUE(next->ok());
    EXPECT_TRUE(clockIs(*next, 4, index == 0 ? 6 : 0)) << index;
    EXPECT_TRUE(clockIs(*next, 5, 7)) << index;
  }
  const Parsed same =
      parse(processP("init s0; trans s0 -> s1 { assign x := x + 3, x := y; };", "clock x, y;"));
  ASSERT_TRUE(same.system) << same.messages;
  // The preview of the updates follows the copy.
  float out[3] = {0.0f, 10.0f, 20.0f};
  edgeOf(same, 0, 0).indicateResets(state.get(), same.system->tables().integerCount(), out);
  EXPECT_EQ(out[1], 20.0f);
  EXPECT_EQ(out[2], 20.0f);
}

TEST(ProcessGrammar, FaultyPartsOfAProcessAreReportedWithTheirLine) {
  const std::string mismatch = "Type mismatch.";
  const std::string range = "Expression out of range.";
  const std::string other = "process Q { state q; init q; }";
  const std::string channels = "chan d[3]; int i;";
  const std::string clocks = "clock x, c[2]; int i;";
  const std::string templated =
      "int v, a[2]; chan c; process T(const i, int &w, chan &d) { state s; init s; }\n";
  const std::pair<std::string, std::string> cases[] = {
      {processP("init s0; trans -> s1 {};"),
       "First transition must have an explicit source state."},
      {processP("init s0; trans k -> s1 {};", "int k;"), "Transition source is not a state."},
      {processP("init s0; trans s0 -> k {};", "int k;"), "Transition destination is not a state."},
      {processP("init s0; trans Q.q -> s1 {};", other), "Transition source is not a state."},
      {processP("init s0; trans s1 -> Q.q {};", other), "Transition destination is not a state."},
      {processP("commit k; init s0;", "int k;"), mismatch},
      {processP("init k;", "int k;"), mismatch},
      {processP("init s0; trans s0 -> s0 { sync d!; };", channels), mismatch},
      {processP("init s0; trans s0 -> s0 { sync i!; };", channels), mismatch},
      {"int k; process A { state a; init a; }\nsystem A, k;", mismatch},
      {"process A { state a; init a; }\nsystem A, A;",
       "Process A is listed twice in the system line."},
      {"\nprocess A { state s, s; init s; } system A;", "Redefined symbol s"},
      {"\nprocess A { int k; clock k; state s; init s; } system A;", "Redefined symbol k"},
      {processP("init s0; trans s0 -> s1 { assign x := -1; };", clocks), range},
      {processP("init s0; trans s0 -> s1 { assign x := 1073741823; };", clocks), range},
      {processP("init s0; trans s0 -> s1 { assign x := i; };", clocks),
       "Constant expression expected"},
      {processP("init s0; trans s0 -> s1 { assign c := 0; };", clocks), mismatch},
      // Templates: a body's error is reported once, not once per instance.
      {"int v;\nprocess T(const i) { state s; init s; trans s -> s { sync v!; }; } system T(1), "
       "T(2);",
       mismatch},
      {templated + "system T(1, v);", "Template T takes 3 arguments, 2 given"},
      {templated + "system T(v, v, c);", "Argument 1 of T: a constant expected"},
      {templated + "system T(1, a[v], c);", "Argument 2 of T: constant index expected"},
      {templated + "system T(1, v, a);", "Argument 3 of T: a channel expected"},
      {templated + "U := Q(1); system U;", "Unknown template Q"},
      {templated + "system T;", "Template T needs its arguments."},
      {templated + "system T(1,v,c), T(1, v, c);",
       "Process T(1,v,c) is listed twice in the system line."},
      {"int [0,2] a[3];\nprocess T(int [0,1] &w[3]) { state s; init s; } system T(a);",
       "Argument 1 of T: integer variable array[3] with domain [0,1] expected"},
  };
  for (const auto& [text, message] : cases)
    EXPECT_EQ(messagesOf(text), "Error at line 2 : " + message + "\n") << text;
  EXPECT_EQ(messagesOf(processP("init s0; trans s0 -> s1 { assign x := 1073741822; };", clocks)),
            "");
}

// One message per fault, at the line and column of the token it is about;
// the parse recovers at the next edge or declaration.
TEST(ProcessGrammar, ErrorsNameTheirTokenAndPlaceOncePerFault) {
  const std::pair<std::string, std::string> cases[] = {
      {"int id;\nprocess P { state s0, s1; init s0;\n"
       "  trans s0 -> s1 { guard idd == 0; }, s1 -> s0 { guard idd == 1; }; }\nsystem P;",
       "3:26: undeclared identifier 'idd' (did you mean 'id'?)\n"},
      {"int n;\nprocess P { state wait, cs; init wait;\n"
       "  trans wait -> wiat { guard n == 1; assign n := 0; },\n"
       "  cs -> wait {}, wait -> cz {}; }\nsystem P;",
       "3:17: undeclared identifier 'wiat' (did you mean 'wait'?)\n"
       "4:26: undeclared identifier 'cz' (did you mean 'cs'?)\n"},
      {"clock x;\nprocess P { state s0; init s0;\n"
       "  trans s0 -> s0 { assign x := 0 }, s0 -> s0 {}; }\nsystem P;",
       "3:34: unexpected '}', expected ';' or ','\n"},
      {"int a b;\nint c;\nclock d e;\nprocess P { state s; init s; } system P;",
       "1:7: undeclared identifier 'b'\n3:9: undeclared identifier 'e'\n"},
      {"process P3 { state s; init s; }\nsystem P4;",
       "2:8: undeclared identifier 'P4' (did you mean 'P3'?)\n"},
      // An instance's body, read again, leaves the place of what follows.
      {"process P(const i) {\n  state s;\n  init s;\n}\nP1 := P(1); int q = 1;\nsystem P1,\n  Q;",
       "5:19: Unknown symbol '='\n7:3: undeclared identifier 'Q'\n"},
  };
  for (const auto& [text, expected] : cases) {
    std::istringstream in(text);
    std::ostringstream errors;
    std::vector<ParseMessage> messages;
    EXPECT_FALSE(parseSystem(in, errors, &messages)) << text;
    std::string places;
    for (const ParseMessage& message : messages)
      places += std::to_string(message.line) + ":" + std::to_string(message.column) + ": " +
                message.text + "\n";
    EXPECT_EQ(places, expected) << text;
  }
}

TEST(ProcessGrammar, DeepNestingOverflowsTheParserStack) {
  const auto nested = [](int depth) {
    return processP("init s0;", "const N " + std::string(static_cast<std::size_t>(depth), '(') +
                                    "1" + std::string(static_cast<std::size_t>(depth), ')') + ";");
  };
  EXPECT_EQ(messagesOf(nested(60)), "");
  Parsed parsed = parse(nested(250));
  EXPECT_FALSE(parsed.system);
  EXPECT_EQ(parsed.messages, "Error at line 1 : parser stack overflow\n");
}

TEST(ProcessGrammar, SourceTextsAreCutAt511Characters) {
  std::string guard = "k == 0";
  for (int i = 0; i < 100; ++i)
    guard += ", k == " + std::to_string(i);
  Parsed parsed = parse(processP("init s0; trans s0 -> s0 { guard " + guard + "; };", "int k;"));
  ASSERT_TRUE(parsed.system) << parsed.messages;
  const std::string& text = edgeOf(parsed, 0, 0).getGuardText();
  EXPECT_EQ(text.size(), 511u);
  EXPECT_EQ(text.substr(0, 16), "k==0, k==0, k==1");
}

} // namespace
} // namespace orvela
