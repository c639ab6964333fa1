#include "LanguageTest.h"
#include "expr/Guard.h"
#include "formula/AndExpr.h"
#include "formula/ClockExpr.h"
#include "symbolic/GlobalState.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::edgeOf;
using test::parse;
using test::Parsed;

// Clocks x (1), y (2), c[0] (3), c[1] (4); integer k (0); channels a (1),
// u (2, urgent), v[0] (3), v[1] (4, urgent), b (5, urgent broadcast).
std::string withEdge(const std::string& parts, const std::string& locations = "s0, s1") {
  return "clock x, y, c[2]; int k; chan a; urgent chan u; chan v0; urgent chan v1;"
         " urgent broadcast chan b;\n"
         "process P { state " +
         locations + "; init s0; trans s0 -> s1 { " + parts + " }; }\nsystem P;";
}

// The four fields of a clock constraint, its expressions evaluated without
// a state: clock i, clock j, bound, strictness.
std::tuple<int, int, int, bool> fields(const TCTLExpression* formula) {
  const auto& constraint = dynamic_cast<const ClockExpr&>(*formula);
  return {constraint.getI()->evaluateScalar(nullptr), constraint.getJ()->evaluateScalar(nullptr),
          constraint.getBound()->evaluateScalar(nullptr), constraint.isStrict()};
}

using Fields = std::tuple<int, int, int, bool>;

TEST(ClockConstraintGrammar, EachComparisonBecomesDifferenceConstraints) {
  const std::pair<const char*, Fields> cases[] = {
      {"x <= 3", {1, 0, 3, false}},      {"x < 3", {1, 0, 3, true}},
      {"x >= 3", {0, 1, -3, false}},     {"x > 3", {0, 1, -3, true}},
      {"x >= y + 2", {2, 1, -2, false}}, {"x < y", {1, 2, 0, true}},
      {"x <= y", {1, 2, 0, false}},      {"c[1] > 4 * 2", {0, 4, -8, true}},
  };
  for (const auto& [guard, expected] : cases) {
    Parsed parsed = parse(withEdge(std::string("guard ") + guard + ";"));
    ASSERT_TRUE(parsed.system) << guard << parsed.messages;
    EXPECT_EQ(fields(edgeOf(parsed, 0, 0).getClockGuard().get()), expected) << guard;
    EXPECT_FALSE(edgeOf(parsed, 0, 0).getIntegerGuard()) << guard;
  }
  Parsed equal = parse(withEdge("guard x == 5;"));
  ASSERT_TRUE(equal.system) << equal.messages;
  const auto& both = dynamic_cast<const AndExpr&>(*edgeOf(equal, 0, 0).getClockGuard());
  EXPECT_EQ(fields(both.getLeft().get()), Fields(0, 1, -5, false));
  EXPECT_EQ(fields(both.getRight().get()), Fields(1, 0, 5, false));
}

TEST(ClockConstraintGrammar, InvariantsAllowOnlyUpperBounds) {
  Parsed parsed = parse(withEdge("", "s0 { x <= 3, c[k] < 5 }, s1"));
  ASSERT_TRUE(parsed.system) << parsed.messages;
  const ControlState& location = *parsed.system->getProcess(0)->getControlState(0);
  EXPECT_EQ(location.getInvariantText(), "x<=3, c[k]<5");
  const auto& both = dynamic_cast<const AndExpr&>(*location.getInvariant());
  EXPECT_EQ(fields(both.getLeft().get()), Fields(1, 0, 3, false));
  EXPECT_FALSE(parsed.system->getProcess(0)->getControlState(1)->getInvariant());
  EXPECT_EQ(parsed.system->getProcess(0)->getControlState(1)->getInvariantText(), "");
  for (const char* invariant : {"x > 3", "x == 3"})
    EXPECT_EQ(parse(withEdge("", std::string("s0 { ") + invariant + " }, s1")).messages,
              "Error at line 2 : Only < and <= comparisons are allowed in invariants.\n")
        << invariant;
  EXPECT_EQ(parse(withEdge("", "s0 { c <= 3 }, s1")).messages,
            "Error at line 2 : Type mismatch.\n");
  EXPECT_EQ(parse(withEdge("", "s0 { x <= 1073741823 }, s1")).messages,
            "Error at line 2 : Expression out of range.\n");
}

TEST(ClockConstraintGrammar, ClockComparisonsAreCheckedForTheirShape) {
  const std::pair<const char*, const char*> cases[] = {
      {"guard x != 3;", "Operator != not supported for clocks."},
      {"guard c <= 3;", "Type mismatch."},
      {"guard x <= c;", "Type mismatch."},
      {"guard x - y <= 3;", "unexpected '-'"},
      {"sync u!; guard x < 1;", "unexpected 'guard', expected 'assign' or '}'"},
      // Constants past the limit of the zones, in a difference and in updates.
      {"guard x <= y + 1073741823;", "Expression out of range."},
      {"assign x := y + 1073741823;", "Expression out of range."},
      {"assign x -= 1073741823;", "Expression out of range."},
  };
  for (const auto& [parts, message] : cases)
    EXPECT_EQ(parse(withEdge(parts)).messages, std::string("Error at line 2 : ") + message + "\n")
        << parts;
}

TEST(ClockConstraintGrammar, UrgentSynchronisationsTakeNoClockGuard) {
  const std::string refused = "Error at line 2 : Clock guards are not allowed on urgent "
                              "transitions.\n";
  EXPECT_EQ(parse(withEdge("guard x < 1; sync u!;")).messages, refused);
  EXPECT_EQ(parse(withEdge("guard k < 1, y > 2; sync u?;")).messages, refused);
  EXPECT_EQ(parse(withEdge("guard x < 1; sync b!;")).messages, refused);
  EXPECT_EQ(parse(withEdge("guard k < 1; sync u!;")).messages, "");
  EXPECT_EQ(parse(withEdge("guard x < 1; sync a!;")).messages, "");
  // An edge over an array of channels is urgent when the array is.
  const std::string arrays = "clock x; int i; chan w[3]; urgent chan z[2];\n"
                             "process P { state s; init s; trans s -> s { guard x < 1; sync ";
  EXPECT_EQ(parse(arrays + "w[i]!; }; } system P;").messages, "");
  EXPECT_EQ(parse(arrays + "z[i]?; }; } system P;").messages,
            "Error at line 2 : Clock guards are not allowed on urgent transitions.\n");
}

} // namespace
} // namespace orvela
