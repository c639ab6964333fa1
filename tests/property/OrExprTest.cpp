#include "property/OrExpr.h"

#include "CountingFormula.h"
#include "PropertyFixtures.h"
#include "property/AndExpr.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvela {
namespace {

using test::atLeast;
using test::atMost;
using test::closedInterval;
using test::constant;
using test::CountingFormula;
using test::rawBounds;
using test::restrictClock;
using Bounds = std::vector<std::pair<int32_t, int32_t>>;

class OrExprTest : public test::PropertyTest {};

TEST_F(OrExprTest, EvaluateRestrictsTheZoneToTheFirstSatisfiableDisjunct) {
  const OrExpr apart(atMost(1, 3), atLeast(1, 5));
  test::OwnedState state(prototype->copy());
  EXPECT_TRUE(apart.evaluate(state.get()));
  EXPECT_TRUE(state->ok());
  EXPECT_EQ(rawBounds(state.get(), 1), closedInterval(0, 3));

  test::OwnedState high(prototype->copy());
  restrictClock(high.get(), 1, 4, 10);
  EXPECT_TRUE(apart.evaluate(high.get()));
  EXPECT_TRUE(high->ok());
  EXPECT_EQ(rawBounds(high.get(), 1), closedInterval(5, 10));

  test::OwnedState between(prototype->copy());
  restrictClock(between.get(), 1, 4, 4);
  EXPECT_FALSE(apart.evaluate(between.get()) && between->ok());
}

// x1 <= 3 and x2 >= 5 and x2 - x1 <= 1 is empty, which the tightenings alone
// do not show: the disjunct must be closed before it is taken, or x1 >= 5
// would be lost.
TEST_F(OrExprTest, ALeftDisjunctFoundEmptyOnlyByClosureIsNotTaken) {
  const Pointer<TCTLExpression> hidden =
      new AndExpr(new AndExpr(atMost(1, 3), atLeast(2, 5)),
                  new ClockExpr(constant(2), opLessEqual, constant(1), 1));
  test::OwnedState probe(prototype->copy());
  ASSERT_TRUE(hidden->evaluate(probe.get())); // the tightenings do not see it
  ASSERT_FALSE(probe->ok());

  test::OwnedState state(prototype->copy());
  EXPECT_TRUE(OrExpr(hidden, atLeast(1, 5)).evaluate(state.get()));
  EXPECT_TRUE(state->ok());
  EXPECT_EQ(rawBounds(state.get(), 1), closedInterval(5, 10));
}

TEST_F(OrExprTest, EvaluateMultiSplitsADisjunctionIntoTwoStates) {
  list = {allocated(0, 10, 7)};
  OrExpr(atMost(1, 3), atLeast(1, 5)).evaluateMulti(list, allocator.get());
  EXPECT_EQ(bounds(list), (Bounds{closedInterval(0, 3), closedInterval(5, 10)}));
  for (const GlobalState* piece : list) {
    EXPECT_EQ(piece->getTraceId(), 7);
    EXPECT_TRUE(piece->discEqual(prototype.get()));
  }
  EXPECT_EQ(allocator->blocksOut(), 2u);
}

TEST_F(OrExprTest, EvaluateMultiDropsPiecesTheOtherSideIncludes) {
  // The right piece inside the left one goes.
  list = {allocated(0, 10)};
  OrExpr(atMost(1, 5), atMost(1, 3)).evaluateMulti(list, allocator.get());
  EXPECT_EQ(bounds(list), (Bounds{closedInterval(0, 5)}));
  EXPECT_EQ(allocator->blocksOut(), 1u);

  // The left piece inside the right one goes.
  OrExpr(atMost(1, 2), atMost(1, 4)).evaluateMulti(list, allocator.get());
  EXPECT_EQ(bounds(list), (Bounds{closedInterval(0, 4)}));
  EXPECT_EQ(allocator->blocksOut(), 1u);

  // Of two equal pieces the left one goes.
  GlobalState* before = list.front();
  OrExpr(atMost(1, 4), atMost(1, 4)).evaluateMulti(list, allocator.get());
  ASSERT_EQ(list.size(), 1u);
  EXPECT_NE(list.front(), before);
  EXPECT_EQ(allocator->blocksOut(), 1u);
}

TEST_F(OrExprTest, OnlyPiecesOfTheSameStateAreCompared) {
  // B's right piece lies inside A's left piece, but they come from
  // different states (trace identifiers 1 and 2) and both stay.
  list = {allocated(0, 10, 1), allocated(5, 6, 2)};
  OrExpr(atMost(1, 8), atLeast(1, 5)).evaluateMulti(list, allocator.get());
  std::vector<int> traces;
  for (const GlobalState* piece : list)
    traces.push_back(piece->getTraceId());
  EXPECT_EQ(traces, (std::vector<int>{1, 1, 2}));
  EXPECT_EQ(bounds(list),
            (Bounds{closedInterval(0, 8), closedInterval(5, 10), closedInterval(5, 6)}));
  EXPECT_EQ(allocator->blocksOut(), 3u);
}

TEST_F(OrExprTest, EvaluateMultiGivesItsCopiesBackWhenAnOperandThrows) {
  Pointer<CountingFormula> failing = new CountingFormula(true);
  failing->throws = true;
  list = {allocated(0, 10), allocated(1, 2)};
  EXPECT_THROW(OrExpr(atMost(1, 3), failing).evaluateMulti(list, allocator.get()), Bug);
  EXPECT_EQ(allocator->blocksOut(), list.size());
}

TEST_F(OrExprTest, NegationNormalFormAndText) {
  const Pointer<TCTLExpression> a = atMost(1, 1), b = atMost(1, 2);
  const Pointer<TCTLExpression> either = new OrExpr(a, b);
  const Pointer<TCTLExpression> negated = either->negate();
  ASSERT_EQ(negated->getType(), TCTLExpression::andType);
  // not (x1 <= 1 or x1 <= 2) is x1 > 2.
  test::OwnedState state(prototype->copy());
  EXPECT_TRUE(negated->evaluate(state.get()));
  EXPECT_TRUE(state->ok());
  EXPECT_EQ(rawBounds(state.get(), 1), std::make_pair(-2 * 2, 2 * 10 + 1));

  NormalForm form;
  OrExpr(either, new AndExpr(a, b)).normalise(form);
  EXPECT_EQ(form, (NormalForm{{a}, {b}, {a, b}}));

  std::ostringstream out;
  out << OrExpr(either, new AndExpr(a, b));
  EXPECT_EQ(out.str(), "(( or ) or ( and ))");
  EXPECT_FALSE(either->atomic());
  EXPECT_EQ(either->getType(), TCTLExpression::orType);
}

} // namespace
} // namespace orvela
