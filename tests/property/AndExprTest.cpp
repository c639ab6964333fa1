#include "property/AndExpr.h"

#include "CountingFormula.h"
#include "PropertyFixtures.h"
#include "property/OrExpr.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvela {
namespace {

using test::atLeast;
using test::atMost;
using test::closedInterval;
using test::CountingFormula;
using test::rawBounds;
using test::restrictClock;

class AndExprTest : public test::PropertyTest {};

TEST_F(AndExprTest, EvaluatesTheRightOperandOnlyWhenTheLeftHolds) {
  Pointer<CountingFormula> no = new CountingFormula(false);
  Pointer<CountingFormula> yes = new CountingFormula(true);
  test::OwnedState state(prototype->copy());
  EXPECT_FALSE(AndExpr(no, yes).evaluate(state.get()));
  EXPECT_EQ(yes->evaluations, 0);
  EXPECT_FALSE(AndExpr(yes, no).evaluate(state.get()));
  EXPECT_TRUE(AndExpr(yes, yes).evaluate(state.get()));
  EXPECT_EQ(yes->evaluations, 3);
  EXPECT_EQ(no->evaluations, 2);
}

TEST_F(AndExprTest, NegationIsTheDisjunctionOfTheNegatedOperands) {
  const Pointer<TCTLExpression> both = new AndExpr(atLeast(1, 3), atMost(1, 6));
  const Pointer<TCTLExpression> negated = both->negate();
  ASSERT_EQ(negated->getType(), TCTLExpression::orType);
  // not (3 <= x1 <= 6) on [0, 10] leaves x1 < 3 first, and x1 > 6 otherwise.
  test::OwnedState state(prototype->copy());
  EXPECT_TRUE(negated->evaluate(state.get()));
  EXPECT_TRUE(state->ok());
  EXPECT_EQ(rawBounds(state.get(), 1), std::make_pair(1, 2 * 3));
  test::OwnedState upper(prototype->copy());
  restrictClock(upper.get(), 1, 4, 10);
  EXPECT_TRUE(negated->evaluate(upper.get()));
  EXPECT_TRUE(upper->ok());
  EXPECT_EQ(rawBounds(upper.get(), 1), std::make_pair(-2 * 6, 2 * 10 + 1));
}

TEST_F(AndExprTest, NormalFormJoinsEveryPairOfConjunctionsLeftMajor) {
  Pointer<TCTLExpression> a = atMost(1, 1), b = atMost(1, 2), c = atMost(1, 3), d = atMost(1, 4);
  NormalForm form;
  AndExpr(new OrExpr(a, b), new OrExpr(c, d)).normalise(form);
  const NormalForm expected{{a, c}, {a, d}, {b, c}, {b, d}};
  EXPECT_EQ(form, expected);

  // Appended after what is there; an atom is its own conjunction.
  AndExpr(a, new AndExpr(b, c)).normalise(form);
  ASSERT_EQ(form.size(), 5u);
  EXPECT_EQ(form.back(), (Conjunction{a, b, c}));
}

TEST_F(AndExprTest, EvaluateMultiFiltersThroughBothOperands) {
  list = {allocated(0, 2), allocated(4, 9), allocated(7, 10)};
  AndExpr(atLeast(1, 3), atMost(1, 8)).evaluateMulti(list, allocator.get());
  EXPECT_EQ(bounds(list), (decltype(bounds(list)){closedInterval(4, 8), closedInterval(7, 8)}));
  EXPECT_EQ(allocator->blocksOut(), 2u);
}

TEST_F(AndExprTest, VisitsLeftThenRightThenItselfAndPrintsParentheses) {
  std::vector<std::string> visits;
  struct Recorder : TCTLVisitor {
    std::vector<std::string>* visits;
    void visitAndExpr(AndExpr*) override { visits->push_back("and"); }
    void visitOrExpr(OrExpr*) override { visits->push_back("or"); }
  } recorder;
  recorder.visits = &visits;
  Pointer<TCTLExpression> a = new CountingFormula(true, &visits, "a");
  Pointer<TCTLExpression> b = new CountingFormula(true, &visits, "b");
  Pointer<TCTLExpression> c = new CountingFormula(true, &visits, "c");
  AndExpr formula(new OrExpr(a, b), c);
  formula.accept(recorder);
  EXPECT_EQ(visits, (std::vector<std::string>{"a", "b", "or", "c", "and"}));
  EXPECT_FALSE(formula.atomic());
  EXPECT_EQ(formula.getType(), TCTLExpression::andType);

  std::ostringstream out;
  out << AndExpr(atMost(1, 1), atLeast(2, 2));
  EXPECT_EQ(out.str(), "( and )");
  std::set<int> clocks;
  formula.collectClocks(clocks);
  EXPECT_EQ(clocks, std::set<int>{101});
}

} // namespace
} // namespace orvela
