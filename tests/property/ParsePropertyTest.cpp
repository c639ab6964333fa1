#include "PropertyModel.h"

#include "language/ErrorReporting.h"
#include "property/AndExpr.h"
#include "property/OrExpr.h"
#include "server/base/Exceptions.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvela {
namespace {

using test::describe;
using test::Parsed;
using test::PropertyModelTest;

class ParseProperty : public PropertyModelTest {};

TEST_F(ParseProperty, EveryQuantifierGivesItsKindLivenessAndFormula) {
  struct Case {
    const char* text;
    int quantifier;
    bool liveness;
    const char* formula;
  };
  // P is second in the system line: its locations are tested as process 1.
  const Case cases[] = {
      {"E<> P.busy", possiblyProperty, false, "P1.1"},
      {"A[] P.busy", invariantlyProperty, false, "!P1.1"},
      {"E[] P.busy", potentiallyAlwaysProperty, true, "P1.1"},
      {"A<> P.busy", eventuallyProperty, true, "!P1.1"},
      {"A[] x <= 5", invariantlyProperty, false, "x0-x1<-5"},
      {"A<> x < 5", eventuallyProperty, true, "x0-x1<=-5"},
      // Leads-to keeps both formulas as they are, as a pair.
      {"P.busy --> Q.q2", leadsToProperty, true, "(P1.1 or P0.2)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const Parsed parsed = parse(c.text);
    EXPECT_EQ(parsed.messages, "");
    EXPECT_EQ(parsed.property.result, 0);
    EXPECT_EQ(parsed.property.quantifier, c.quantifier);
    EXPECT_EQ(parsed.property.liveness, c.liveness);
    ASSERT_TRUE(parsed.property.expression);
    EXPECT_EQ(describe(*parsed.property.expression), c.formula);
  }
  const ParsedProperty pair = parse("P.busy --> x > 1").property;
  EXPECT_TRUE(dynamic_cast<OrExpr*>(pair.expression.get()));
}

TEST_F(ParseProperty, QuitEndOfInputAndEmptyLinesCarryNoFormula) {
  for (const char* text : {"quit", "quit\n", "", "/* nothing */", "// only a comment\n"}) {
    SCOPED_TRACE(text);
    const Parsed parsed = parse(text);
    EXPECT_EQ(parsed.property.quantifier, quitProperty);
    EXPECT_FALSE(parsed.property.expression);
    EXPECT_EQ(parsed.messages, "");
  }
  for (const char* text : {"\n", "  \t \n", "/* a\n comment */\nE<> P.busy\n"}) {
    SCOPED_TRACE(text);
    const Parsed parsed = parse(text);
    EXPECT_EQ(parsed.property.quantifier, noProperty);
    EXPECT_FALSE(parsed.property.expression);
    EXPECT_EQ(parsed.messages, "") << "an empty line is no error";
  }
}

TEST_F(ParseProperty, LocationAndClockConstraintOfTheReferenceExample) {
  const Parsed parsed = parse("E<> P.idle and x >= 3\n");
  EXPECT_EQ(parsed.property.quantifier, possiblyProperty);
  ASSERT_TRUE(dynamic_cast<AndExpr*>(parsed.property.expression.get()));
  // 0 - x <= -3.
  EXPECT_EQ(describe(*parsed.property.expression), "(P1.0 and x0-x1<=-3)");
}

TEST_F(ParseProperty, ConnectivesGroupByPrecedence) {
  const char* const cases[][2] = {
      {"P.idle or P.busy and Q.q0", "(P1.0 or (P1.1 and P0.0))"},
      {"P.idle and P.busy or Q.q0", "((P1.0 and P1.1) or P0.0)"},
      {"(P.idle or P.busy) and Q.q0", "((P1.0 or P1.1) and P0.0)"},
      {"P.idle or P.busy imply Q.q0", "((!P1.0 and !P1.1) or P0.0)"},
      {"P.idle and P.busy and Q.q0", "((P1.0 and P1.1) and P0.0)"},
      // imply is left-associative: (a imply b) imply c.
      {"P.idle imply P.busy imply Q.q0", "((!!P1.0 and !P1.1) or P0.0)"},
      {"not P.idle and Q.q0", "(!P1.0 and P0.0)"},
      {"not (P.idle and Q.q0)", "(!P1.0 or !P0.0)"},
      {"not not P.idle", "!!P1.0"},
      {"true and P.idle", "(true and P1.0)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    const Parsed parsed = parse(std::string("E<> ") + c[0]);
    ASSERT_TRUE(parsed.property.expression) << parsed.messages;
    EXPECT_EQ(describe(*parsed.property.expression), c[1]);
  }
}

TEST_F(ParseProperty, ClockConstraintsOfEveryOperator) {
  // x is clock 1, y clock 2, c[] clocks 3..5, P.z clock 6; K is 4.
  const char* const cases[][2] = {
      {"x <= 5", "x1-x0<=5"},
      {"x < 5", "x1-x0<5"},
      {"x >= 5", "x0-x1<=-5"},
      {"x > 5", "x0-x1<-5"},
      {"x == 5", "(x0-x1<=-5 and x1-x0<=5)"},
      {"x != 5", "(x0-x1<-5 or x1-x0<5)"},
      {"x - 0 <= 5", ""}, // no difference syntax on the left
      {"x < y", "x1-x2<0"},
      {"x < y + 3", "x1-x2<3"},
      {"x >= y + 2", "x2-x1<=-2"},
      {"x == y + 1", "(x2-x1<=-1 and x1-x2<=1)"},
      {"x != y", "(x2-x1<0 or x1-x2<0)"},
      {"x <= 2 * K - 1", "x1-x0<=7"},
      {"x <= (K + 1) * 2", "x1-x0<=10"},
      {"x <= -K + 10 / 3", "x1-x0<=-1"},
      {"x <= 10 - 4 - 3", "x1-x0<=3"},
      {"x <= T[2]", "x1-x0<=30"},
      {"c[2] < 4", "x5-x0<4"},
      {"c[K - 4] < c[1] + K", "x3-x4<4"},
      {"P.z > x", "x1-x6<0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    const Parsed parsed = parse(std::string("E<> ") + c[0]);
    if (*c[1] == '\0') {
      EXPECT_EQ(parsed.messages, "Bad property\n");
      EXPECT_EQ(parsed.property.quantifier, noProperty);
      continue;
    }
    ASSERT_TRUE(parsed.property.expression) << parsed.messages;
    EXPECT_EQ(describe(*parsed.property.expression), c[1]);
  }
}

TEST_F(ParseProperty, AClockArrayIndexedByAVariableDependsOnTheState) {
  const Parsed parsed = parse("E<> c[i] <= 3");
  ASSERT_TRUE(parsed.property.expression) << parsed.messages;
  test::OwnedState state(system->calcInitial());
  for (int i = 0; i < 3; ++i) {
    setInteger(*state, "i", i);
    std::ostringstream expected;
    expected << 'x' << 3 + i << "-x0<=3";
    EXPECT_EQ(describe(*parsed.property.expression, state.get()), expected.str());
  }
  // An index outside the array is clamped into it.
  setInteger(*state, "i", 7);
  EXPECT_EQ(describe(*parsed.property.expression, state.get()), "x5-x0<=3");
}

TEST_F(ParseProperty, IntegerConditionsEvaluateWithArithmeticPrecedence) {
  test::OwnedState state(system->calcInitial());
  setInteger(*state, "i", 2);
  setInteger(*state, "a", 1, 0);
  setInteger(*state, "a", 6, 1);
  setInteger(*state, "a", 9, 2);
  setInteger(*state, "m", 5, 1 * 3 + 2);
  setInteger(*state, "P.v", -4);
  struct Case {
    const char* text;
    bool holds;
  };
  const Case cases[] = {
      {"i + 2 * 3 == 8", true},
      {"(i + 2) * 3 == 12", true},
      {"i - 1 - 1 == 0", true},
      {"12 / i / 2 == 3", true},
      {"-i + 5 == 3", true},
      {"- - i == 2", true},
      {"a[1] == 6", true},
      {"a[i] == 9", true},
      {"a[i - 1] > a[0] + 4", true},
      {"a[i] < a[1]", false},
      {"m[1][2] == 5", true},
      {"m[1][i] >= 6", false},
      {"T[i] == 30", true},
      {"T[0] + K == 14", true},
      {"P.v == -4", true},
      {"P.v != -4", false},
      {"i == 2 and a[0] > 0", true},
      {"i == 3 or a[0] > 1", false},
      {"i > 2 imply a[5] == 99", true},
      {"not i == 2", false},
      {"-a[1] == -6", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const Parsed parsed = parse(std::string("E<> ") + c.text);
    ASSERT_TRUE(parsed.property.expression) << parsed.messages;
    EXPECT_EQ(parsed.property.expression->evaluate(state.get()), c.holds);
  }
}

TEST_F(ParseProperty, ErroneousPropertiesAreBadProperties) {
  const char* const cases[] = {
      "E[] deadlock", // deadlock is for E<> and A[] only
      "A<> P.idle and deadlock",
      "deadlock --> P.idle",
      "P.idle --> deadlock", // liveness is set before the first formula
      "E<> 5 < x",           // a clock stands only on the left
      "E<> nobody > 1",      // unknown name
      "E<> P.nothing",       // unknown name in a process
      "E<> x < i",           // a bound must be constant
      "E<> x < y + i",
      "E<> a > 1", // array without its index
      "E<> m[1] > 1",
      "E<> c < 3",      // clock array without its index
      "E<> i[0] > 1",   // indexing a scalar
      "E<> ch > 1",     // a channel is no value
      "E<> P > 1",      // nor is a process
      "E<> x",          // a clock alone
      "E<> P.idle and", // incomplete
      "E<> P.idle P.busy",
      "E<> (P.idle",
      "E<> @L",
      "E<> {P.idle}",
      "E<> P.idle.x",
      "E<> P.idle ?",
      "P.idle", // a formula without quantifier
      "E<> x <= 3 --> P.idle",
      "E<> i == 1 == 1",
  };
  for (const char* text : cases) {
    SCOPED_TRACE(text);
    const Parsed parsed = parse(text);
    EXPECT_EQ(parsed.messages, "Bad property\n");
    EXPECT_EQ(parsed.property.result, 0);
    EXPECT_EQ(parsed.property.quantifier, noProperty);
    EXPECT_FALSE(parsed.property.expression);
  }
  // Naming a process that does not exist is reported by the scanner, and
  // the bad token it answers is a syntax error too.
  EXPECT_EQ(parse("E<> R.idle").messages, "Bad property\nBad property\n");
  EXPECT_EQ(parse("E<> x.idle").messages, "Bad property\nBad property\n");
}

TEST_F(ParseProperty, DeepNestingOverflowsTheParserStack) {
  const std::string shallow = "E<> " + std::string(60, '(') + "P.idle" + std::string(60, ')');
  EXPECT_EQ(parse(shallow).property.quantifier, possiblyProperty);
  const std::string deep = "E<> " + std::string(250, '(') + "P.idle" + std::string(250, ')');
  const Parsed parsed = parse(deep);
  EXPECT_EQ(parsed.property.result, 2);
  EXPECT_EQ(parsed.messages, "Bad property\n");
  EXPECT_FALSE(parsed.property.expression);
}

TEST_F(ParseProperty, CommentsAndContinuationsJoinLines) {
  Parsed parsed = parse("E<> P.idle /* spans\n two lines */ and \\\n P.busy // tail\n");
  ASSERT_TRUE(parsed.property.expression) << parsed.messages;
  EXPECT_EQ(describe(*parsed.property.expression), "(P1.0 and P1.1)");
  EXPECT_EQ(parsed.property.lines, 3);
  // The newline ends the property; what follows is not read.
  parsed = parse("E<> P.idle\nthis is not read (");
  EXPECT_EQ(parsed.property.quantifier, possiblyProperty);
  EXPECT_EQ(parsed.messages, "");
  EXPECT_EQ(parsed.property.lines, 1);
}

TEST_F(ParseProperty, ConsecutiveCallsReadConsecutiveProperties) {
  std::istringstream in("E<> P.busy\nA[] x < 3 (\n\nA<> Q.q1 // last\n");
  std::ostringstream errors;
  EXPECT_EQ(parseProperty(in, system, errors).quantifier, possiblyProperty);
  EXPECT_EQ(errors.str(), "");
  // The erroneous line is skipped up to its end, and only it.
  EXPECT_EQ(parseProperty(in, system, errors).quantifier, noProperty);
  EXPECT_EQ(errors.str(), "Bad property\n");
  EXPECT_EQ(parseProperty(in, system, errors).quantifier, noProperty);
  const ParsedProperty last = parseProperty(in, system, errors);
  EXPECT_EQ(last.quantifier, eventuallyProperty);
  ASSERT_TRUE(last.expression);
  EXPECT_EQ(describe(*last.expression), "!P0.1");
  EXPECT_EQ(parseProperty(in, system, errors).quantifier, quitProperty);
  EXPECT_EQ(errors.str(), "Bad property\n");
}

TEST_F(ParseProperty, MessagesGoToTheGivenStreamAndTheOldStreamIsRestored) {
  std::ostringstream before;
  setErrorStream(before);
  std::string messages;
  parseProperty("E<> nobody", system, &messages);
  EXPECT_EQ(messages, "Bad property\n");
  EXPECT_EQ(&errorStream(), &before);
  EXPECT_EQ(before.str(), "");
}

} // namespace
} // namespace orvela
