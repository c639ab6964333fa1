// The property grammar on a loaded model: the tree each property builds,
// shown as text, and the "Bad property" cases.

#include "language/ParseProperty.h"

#include "checkers/CDDDeadlockExpr.h"
#include "expr/Constant.h"
#include "expr/ExpressionVisitor.h"
#include "expr/Guard.h"
#include "expr/LogicExpressions.h"
#include "formula/AndExpr.h"
#include "formula/ClockExpr.h"
#include "formula/OrExpr.h"
#include "formula/TCTLExpressionAdaptor.h"
#include "language/ParseSystem.h"
#include "support/StateFixtures.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace orvela {
namespace {

/// Global clocks x (1), y (2), c[3] (3..5), P's own clock z (6); integers,
/// integer arrays, constants and a constant array; a channel. P is declared
/// first but stands second in the system line; R is not in it.
constexpr const char* propertyModel =
    "clock x, y; clock c[3];\n"
    "int i; int a[3]; int m[2][3];\n"
    "const K := 4; const T[3] := {10, 20, 30};\n"
    "chan ch;\n"
    "process P { clock z; int v; state idle, busy; init idle;\n"
    "  trans idle -> busy { guard x >= 2; sync ch!; }; }\n"
    "process Q { state q0, q1, q2; init q0; trans q0 -> q1 { sync ch?; }; }\n"
    "process R { state r0; init r0; }\n"
    "system Q, P;\n";

/// Text form of the integer expression under a location or integer test:
/// "P<process>.<location>" for a location test, "!" before a negation, the
/// value of a constant ("true" for 1), "guard" for an integer condition.
class AtomText : public ExpressionVisitor {
public:
  void visitStateExpression(StateExpression* e) override {
    std::ostringstream text;
    text << 'P' << e->getProcess() << '.' << e->getLocation();
    parts_.push_back(text.str());
  }
  void visitNotExpression(NotExpression*) override {
    if (parts_.empty())
      parts_.push_back("?");
    parts_.back() = std::string("!").append(parts_.back());
  }
  void visitConstant(Constant* e) override {
    parts_.push_back(e->getValue() == 1 ? "true" : std::to_string(e->getValue()));
  }
  void visitIntegerGuard(IntegerGuard*) override { parts_.push_back("guard"); }
  std::string text() const { return parts_.size() == 1 ? parts_.back() : "?"; }

private:
  std::vector<std::string> parts_;
};

/// The formula as text: "x<i>-x<j><=b" or "<" for a clock constraint (the
/// clocks and the bound evaluated on `state`, which may be null for constant
/// ones), "(l and r)", "(l or r)", the atom text of an adaptor.
std::string describe(const TCTLExpression& formula, PublicState* state = nullptr) {
  std::ostringstream text;
  if (auto* clock = dynamic_cast<const ClockExpr*>(&formula))
    text << 'x' << clock->getI()->evaluateScalar(state) << "-x"
         << clock->getJ()->evaluateScalar(state) << (clock->isStrict() ? "<" : "<=")
         << clock->getBound()->evaluateScalar(state);
  else if (auto* both = dynamic_cast<const AndExpr*>(&formula))
    text << '(' << describe(*both->getLeft(), state) << " and "
         << describe(*both->getRight(), state) << ')';
  else if (auto* either = dynamic_cast<const OrExpr*>(&formula))
    text << '(' << describe(*either->getLeft(), state) << " or "
         << describe(*either->getRight(), state) << ')';
  else if (auto* adaptor = dynamic_cast<const TCTLExpressionAdaptor*>(&formula)) {
    AtomText atom;
    adaptor->getExpression()->accept(atom);
    text << atom.text();
  } else
    text << '?';
  return text.str();
}

/// The result of parsing one property, with its messages.
struct Parsed {
  ParsedProperty property;
  std::string messages;
};

/// Loads `propertyModel` for every test.
class ParseProperty : public ::testing::Test {
protected:
  void SetUp() override {
    std::string messages;
    system = parseSystem(propertyModel, &messages);
    ASSERT_TRUE(system) << messages;
  }

  Parsed parse(const std::string& text) const {
    Parsed parsed;
    parsed.property = parseProperty(text, system, &parsed.messages, deadlockFactory(system));
    return parsed;
  }

  /// Parses "E<> " and each formula, and compares the tree built with the
  /// expected text (empty: a bad property).
  void expectFormulas(std::initializer_list<std::pair<const char*, const char*>> cases) {
    for (const auto& [formula, tree] : cases) {
      SCOPED_TRACE(formula);
      const Parsed parsed = parse(std::string("E<> ") + formula);
      if (*tree == '\0') {
        EXPECT_EQ(parsed.messages, "Bad property\n");
        continue;
      }
      EXPECT_TRUE(parsed.property.expression) << parsed.messages;
      if (parsed.property.expression) {
        EXPECT_EQ(describe(*parsed.property.expression), tree);
      }
    }
  }

  Pointer<System> system;
};

TEST_F(ParseProperty, EveryQuantifierGivesItsKindLivenessAndFormula) {
  struct Case {
    const char* text;
    PropertyKind kind;
    bool liveness;
    const char* formula;
    const char* premise = nullptr;
  };
  // P is second in the system line: its locations are tested as process 1.
  // A[] and A<> keep the negation; leads-to keeps its premise apart.
  // The first example is 0 - x <= -3 beside the location test.
  const Case cases[] = {
      {"E<> P.idle and x >= 3\n", PropertyKind::possibly, false, "(P1.0 and x0-x1<=-3)"},
      {"A[] P.busy", PropertyKind::invariantly, false, "!P1.1"},
      {"E[] P.busy", PropertyKind::potentiallyAlways, true, "P1.1"},
      {"A<> x < 5", PropertyKind::eventually, true, "x0-x1<=-5"},
      {"P.busy --> Q.q2", PropertyKind::leadsTo, true, "P0.2", "P1.1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const Parsed parsed = parse(c.text);
    EXPECT_EQ(parsed.messages, "");
    EXPECT_EQ(parsed.property.result, 0);
    EXPECT_EQ(parsed.property.kind, c.kind);
    EXPECT_EQ(parsed.property.liveness, c.liveness);
    ASSERT_TRUE(parsed.property.expression);
    EXPECT_EQ(describe(*parsed.property.expression), c.formula);
    EXPECT_EQ(parsed.property.premise ? describe(*parsed.property.premise) : "",
              c.premise ? c.premise : "");
  }
}

TEST_F(ParseProperty, ConnectivesGroupByPrecedence) {
  expectFormulas({
      {"P.idle or P.busy and Q.q0", "(P1.0 or (P1.1 and P0.0))"},
      {"P.idle and P.busy or Q.q0", "((P1.0 and P1.1) or P0.0)"},
      {"P.idle or P.busy imply Q.q0", "((!P1.0 and !P1.1) or P0.0)"},
      // (a imply b) imply c.
      {"P.idle imply P.busy imply Q.q0", "((!!P1.0 and !P1.1) or P0.0)"},
      {"not (P.idle and true)", "(!P1.0 or !true)"},
      {"not false", "!0"},
  });
}

TEST_F(ParseProperty, ClockConstraintsOfEveryOperator) {
  // x is clock 1, y clock 2, c[] clocks 3..5, P.z clock 6; K is 4.
  expectFormulas({
      {"x <= 5", "x1-x0<=5"},
      {"x < 5", "x1-x0<5"},
      {"x > 5", "x0-x1<-5"},
      {"x == 5", "(x0-x1<=-5 and x1-x0<=5)"},
      {"x != 5", "(x0-x1<-5 or x1-x0<5)"},
      {"x < y", "x1-x2<0"},
      {"x >= y + 2", "x2-x1<=-2"},
      {"x != y", "(x2-x1<0 or x1-x2<0)"},
      {"x <= -K + 10 / 3 * 2 - 1", "x1-x0<=1"},
      {"x <= T[2]", "x1-x0<=30"},
      {"c[K - 4] < c[1] + K", "x3-x4<4"},
      {"P.z > x", "x1-x6<0"},
      {"x - y <= 5", "x1-x2<=5"},
      {"x - y < -2", "x1-x2<-2"},
      {"x - y >= 5", "x2-x1<=-5"},
      {"x - y == 1", "(x2-x1<=-1 and x1-x2<=1)"},
      {"x - y != K", "(x2-x1<-4 or x1-x2<4)"},
      {"P.z - c[1] <= K - 1", "x6-x4<=3"},
      {"x - y - 1 < 3", ""},
      {"x - 1 < 3", ""},
      // Bounds up to the limit of the zones, and not beyond.
      {"x <= 1073741822", "x1-x0<=1073741822"},
      {"x - y > -1073741822", "x2-x1<1073741822"},
      {"x <= 1073741823", ""},
      {"x >= y + 1073741823", ""},
      {"x - y > -1073741823", ""},
  });
  // Verdicts where x - y is exactly 2.
  const std::pair<const char*, bool> verdicts[] = {
      {"x - y == 2", true},  {"x - y < 2", false},          {"x - y <= 2", true},
      {"x - y > 1", true},   {"x - y >= 3", false},         {"x - y != 2", false},
      {"y - x == -2", true}, {"x - y < 2 or false", false},
  };
  for (const auto& [formula, holds] : verdicts) {
    SCOPED_TRACE(formula);
    test::OwnedState state(system->calcInitial());
    state->setRegion(UnpackedRegion::create(system->tables().clockCount(), true));
    state->tighten(1, 2, 2 * 2 + 1);
    state->tighten(2, 1, 2 * -2 + 1);
    ASSERT_TRUE(state->ok());
    const Parsed parsed = parse(std::string("E<> ") + formula);
    ASSERT_TRUE(parsed.property.expression) << parsed.messages;
    EXPECT_EQ(parsed.property.expression->evaluate(state.get()) && state->ok(), holds);
  }
}

TEST_F(ParseProperty, ErroneousPropertiesAreBadProperties) {
  // One "Bad property" line per error for the server, and one message per
  // fault with its column for people.
  const std::pair<const char*, const char*> cases[] = {
      {"E[] deadlock", "5: deadlock is only allowed in E<> and A[] properties"},
      {"P.idle --> deadlock", "12: deadlock is only allowed in E<> and A[] properties"},
      {"E<> 5 < x", "9: unexpected clock 'x', expected '(', '-', number or integer"},
      {"E<> nobody > 1", "5: undeclared identifier 'nobody'"},
      {"E<> x < y + i", "13: the bound of a clock constraint must be constant"},
      {"E<> a > 1", "5: array used as a value without all its indices"},
      {"E<> c < 3", "5: clock array used without all its indices"},
      {"E<> i[0] > 1", "5: indexing something that is not an array"},
      {"E<> ch > 1", "5: a value must be an integer, a constant or an array of them"},
      {"E<> P.idle and", "15: unexpected end of property"},
      {"E<> P.idle.x", "11: unexpected '.', expected end of property, 'and', 'imply' or 'or'"},
      {"E<> x <= 3 --> P.idle",
       "12: unexpected '-->', expected end of property, 'and', 'imply' or 'or'"},
      {"E<> i < 2147483648", "9: number too large"},
      {"E<> i < 2147483647 + 1", "9: integer overflow in constant expression"},
      {"E<> i < -(-2147483647 - 1)", "9: integer overflow in constant expression"},
      {"E<> P.idel or i == 1", "5: unknown location 'idel' of process P (did you mean 'idle'?)"},
      {"E<> (P.idle and ii == 2", "17: undeclared identifier 'ii' (did you mean 'i'?)"},
  };
  for (const auto& [text, message] : cases) {
    SCOPED_TRACE(text);
    const Parsed parsed = parse(text);
    EXPECT_EQ(parsed.messages, "Bad property\n");
    ASSERT_EQ(parsed.property.messages.size(), 1u);
    const ParseMessage& detail = parsed.property.messages[0];
    EXPECT_EQ(std::to_string(detail.column) + ": " + detail.text, message);
    EXPECT_EQ(parsed.property.result, 0);
    EXPECT_EQ(parsed.property.kind, PropertyKind::none);
    EXPECT_FALSE(parsed.property.expression);
  }
  // Naming a process that does not exist is reported by the scanner, and
  // the bad token it answers is a syntax error too: two lines for the
  // server, one message.
  for (const char* text : {"E<> S.idle", "E<> R.r0", "E<> x.idle"}) {
    const Parsed parsed = parse(text);
    EXPECT_EQ(parsed.messages, "Bad property\nBad property\n");
    ASSERT_EQ(parsed.property.messages.size(), 1u);
    EXPECT_EQ(parsed.property.messages[0].text.rfind("unknown process", 0), 0u);
  }
  EXPECT_EQ(parse("E<> Pp.idle").property.messages[0].text,
            "unknown process 'Pp' (did you mean 'P'?)");
}

TEST_F(ParseProperty, DeepNestingOverflowsTheParserStack) {
  const std::string shallow = "E<> " + std::string(60, '(') + "P.idle" + std::string(60, ')');
  EXPECT_EQ(parse(shallow).property.kind, PropertyKind::possibly);
  const std::string deep = "E<> " + std::string(250, '(') + "P.idle" + std::string(250, ')');
  const Parsed parsed = parse(deep);
  EXPECT_EQ(parsed.property.result, 2);
  EXPECT_EQ(parsed.messages, "Bad property\n");
  EXPECT_FALSE(parsed.property.expression);
}

TEST_F(ParseProperty, CommentsAndContinuationsJoinLines) {
  // Carriage returns before the line ends (files written on Windows) are blanks.
  for (const char* end : {"\n", "\r\n"}) {
    SCOPED_TRACE(testing::PrintToString(end));
    const std::string nl = end;
    Parsed parsed =
        parse("E<> P.idle /* spans" + nl + " two lines */ and \\" + nl + " P.busy // tail" + nl);
    ASSERT_TRUE(parsed.property.expression) << parsed.messages;
    EXPECT_EQ(describe(*parsed.property.expression), "(P1.0 and P1.1)");
    EXPECT_EQ(parsed.property.lines, 3);
  }
}

} // namespace
} // namespace orvela
