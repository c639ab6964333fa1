#include "LanguageTest.h"
#include "language/ExpressionBuilders.h"
#include "support/TestState.h"
#include "symbolic/IntegerInfo.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::constantValue;
using test::edgeOf;
using test::parse;
using test::Parsed;
using test::TestState;

TEST(ExpressionGrammar, OperatorsBindAndAssociateAsDeclared) {
  const std::pair<const char*, const char*> cases[] = {
      {"1 <? 2 + 3", "1"},
      {"10 - 2 - 3", "5"},
      {"2 + 3 * 4", "14"},
      {"7 / 2 * 2", "6"},
      {"8 >? 3 <? 5", "5"},
      {"-7 / 2", "-3"},
      {"-2147483647 - 1", "-2147483648"},
      {"2147483647 / -1", "-2147483647"},
  };
  for (const auto& [expression, value] : cases)
    EXPECT_EQ(constantValue(std::string("const A ") + expression + ";", "A"), value) << expression;
}

TEST(ExpressionGrammar, ConstantArraysAreIndexedRowMajorAndClampedIntoTheirBounds) {
  const std::string table = "const T[2][3] := {{1,2,3},{4,5,6}}; const N 1;";
  EXPECT_EQ(constantValue(table + "const G T[1][2];", "G"), "6");
  EXPECT_EQ(constantValue(table + "const G T[5][0];", "G"), "4");
  EXPECT_EQ(constantValue(table + "const G T[0][-1];", "G"), "1");
}

TEST(ExpressionGrammar, ValuesOfTheWrongShapeOrKindAreReported) {
  const std::string table = "const T[2][3] := {{1,2,3},{4,5,6}}; const N 3; chan c; chan d[2];"
                            "int v;\n";
  const std::pair<const char*, const char*> cases[] = {
      {"const G T[1];", "Integer expression expected"},
      {"const G N[0];", "Array expected"},
      {"const G T + 1;", "Integer value expected"},
      {"const G T[T[0]][0];", "Integer value expected"},
      {"const G (N < 2 ? T : T)[0][0];", "Array expected"},
      {"const G c;", "Type mismatch or undeclared identifier."},
      {"const G v;", "Constant expression expected"},
      {"const G u + 1;", "undeclared identifier 'u'"},
      {"const G 2147483647 + 1;", "Integer overflow in constant expression."},
      {"const G 65536 * 32768;", "Integer overflow in constant expression."},
      {"const G (-2147483647 - 1) / -1;", "Integer overflow in constant expression."},
      {"const G -(-2147483647 - 1);", "Integer overflow in constant expression."},
  };
  for (const auto& [declaration, message] : cases)
    EXPECT_EQ(constantValue(table + declaration, "G"),
              std::string("Error at line 2 : ") + message + "\n")
        << declaration;
}

// Each operator of a chain adds a level to the tree, without nesting in the
// parser: a chain one level too deep is refused, through negations and
// indices as well, instead of overflowing the stack when evaluated.
TEST(ExpressionGrammar, OperatorChainsDeeperThanTheLimitAreReported) {
  const auto chain = [](int terms) {
    std::string text = "1";
    for (int k = 1; k < terms; ++k)
      text += " + 1";
    return text;
  };
  const std::string tooDeep = "Error at line 1 : Expression nested too deeply.\n";
  EXPECT_EQ(constantValue("const G " + chain(maximalExpressionDepth) + ";", "G"),
            std::to_string(maximalExpressionDepth));
  EXPECT_EQ(constantValue("const G " + chain(maximalExpressionDepth + 1) + ";", "G"), tooDeep);
  EXPECT_EQ(constantValue("const G -(" + chain(maximalExpressionDepth) + ") + 1;", "G"), tooDeep);
  EXPECT_EQ(constantValue("const T[2] := {1, 2}; const G T[" + chain(maximalExpressionDepth - 1) +
                              "] + 1;",
                          "G"),
            tooDeep);
}

// A process whose only edge carries the given updates, over
// integers k (index 0, domain [0, 5]), i (1), a[3] (2..4), b[3] (5..7).
Parsed edgeWith(const std::string& updates, const std::string& extraDeclarations = "") {
  return parse("int [0,5] k; int i; int a[3], b[3];" + extraDeclarations +
               "\nprocess P { state s; init s; trans s -> s { " + updates + " }; }\nsystem P;");
}

TEST(ExpressionGrammar, IntegerUpdatesAreClampedIntoTheDomain) {
  Parsed parsed = edgeWith("assign k := k + 4, a[i] := i, b := a, i := 70000;");
  ASSERT_TRUE(parsed.system) << parsed.messages;
  EXPECT_EQ(edgeOf(parsed, 0, 0).getAssignmentText(), "k:=k+4, a[i]:=i, b:=a, i:=70000");
  TestState state({3, 9, 0, 0, 0, 0, 0, 0});
  edgeOf(parsed, 0, 0).resetAssigns(&state);
  // k is held at 5; the index 9 is held at 2; i at 32767.
  EXPECT_EQ(state.integers, (std::vector<int>{5, 32767, 0, 0, 9, 0, 0, 9}));
}

TEST(ExpressionGrammar, UpdatesOfWhatIsNotAnIntegerVariableAreReported) {
  const std::string extra = "const N 2; chan c; int m[2][2];";
  const std::pair<const char*, const char*> cases[] = {
      {"assign N := 1;", "Type mismatch or undeclared indentifier."},
      {"assign k[0] := 1;", "Type mismatch."},
      {"assign b := k;", "Type mismatch"},
      {"assign a[b] := 1;", "Integer value expected"},
  };
  for (const auto& [updates, message] : cases)
    EXPECT_EQ(edgeWith(updates, extra).messages, std::string("Error at line 2 : ") + message + "\n")
        << updates;
  Parsed rows = edgeWith("assign m[1] := a[0] <? 2 >? 1 == 0 ? m[0] : m[1];", extra);
  EXPECT_TRUE(rows.system) << rows.messages;
}

TEST(ExpressionGrammar, ConditionalUpdatesHappenOnlyWhenTheirConditionHolds) {
  Parsed parsed = edgeWith("assign (k < 3 ? k := 4), (i == 0 ? (k > 3 ? i := 7));");
  ASSERT_TRUE(parsed.system) << parsed.messages;
  TestState state({1, 0, 0, 0, 0, 0, 0, 0});
  edgeOf(parsed, 0, 0).resetAssigns(&state);
  EXPECT_EQ(state.integers[0], 4);
  EXPECT_EQ(state.integers[1], 7);
  state.integers = {3, 0, 0, 0, 0, 0, 0, 0};
  edgeOf(parsed, 0, 0).resetAssigns(&state);
  EXPECT_EQ(state.integers[0], 3);
  EXPECT_EQ(state.integers[1], 0);
}

TEST(ExpressionGrammar, QualifiedNamesReadAnotherProcessOrTheGlobalFrame) {
  Parsed parsed = parse("int k := 1;\n"
                        "process P { int k := 2; state s; init s; }\n"
                        "process Q { int k := 3; state s; init s; trans s -> s { guard P.k == 2, "
                        "global.k == 1, k == 3; assign global.k := P.k + k; }; }\n"
                        "system P, Q;");
  ASSERT_TRUE(parsed.system) << parsed.messages;
  const Transition& edge = edgeOf(parsed, 1, 0);
  EXPECT_EQ(edge.getGuardText(), "P.k==2, global.k==1, k==3");
  TestState state({1, 2, 3});
  EXPECT_TRUE(edge.evalIntegerGuards(&state));
  edge.resetAssigns(&state);
  EXPECT_EQ(state.integers, (std::vector<int>{5, 2, 3}));
  EXPECT_EQ(
      parse("process P { state s; init s; trans s -> s { guard R.k == 2; }; } system P;").messages,
      "Error at line 1 : unknown process 'R'\n");
}

} // namespace
} // namespace orvela
