#include "property/ClockExpr.h"

#include "PropertyFixtures.h"
#include "model/Arrays.h"
#include "model/BinaryExpressions.h"
#include "model/Range.h"
#include "property/TCTLVisitor.h"
#include "server/base/Exceptions.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvela {
namespace {

using test::atLeast;
using test::atMost;
using test::closedInterval;
using test::constant;
using test::rawBounds;
using test::restrictClock;

int valueOf(const Pointer<Expression>& expression) { return expression->evaluateScalar(nullptr); }

const ClockExpr& asClock(const Pointer<TCTLExpression>& formula) {
  return dynamic_cast<const ClockExpr&>(*formula);
}

class ClockExprTest : public test::PropertyTest {};

TEST_F(ClockExprTest, RelationalOperatorsOrientTheDifference) {
  struct Case {
    OpType op;
    int i, j, bound;
    bool strict;
  };
  // x2 - x1 op 4
  for (const Case& c : {Case{opLessEqual, 2, 1, 4, false}, Case{opLess, 2, 1, 4, true},
                        Case{opGreaterEqual, 1, 2, -4, false}, Case{opGreater, 1, 2, -4, true}}) {
    const ClockExpr e(constant(2), c.op, constant(1), 4);
    EXPECT_EQ(valueOf(e.getI()), c.i) << c.op;
    EXPECT_EQ(valueOf(e.getJ()), c.j) << c.op;
    EXPECT_EQ(valueOf(e.getBound()), c.bound) << c.op;
    EXPECT_EQ(e.isStrict(), c.strict) << c.op;
    EXPECT_EQ(e.getType(), TCTLExpression::clockType);
    EXPECT_TRUE(e.atomic());
  }
  for (OpType op : {opEqual, opNotEqual}) {
    try {
      ClockExpr(constant(1), op, constant(0), 3);
      ADD_FAILURE() << "operator " << op << " accepted";
    } catch (const Bug& bug) {
      EXPECT_STREQ(bug.what(), "Unsupported operation for clock expression");
    }
  }
}

TEST_F(ClockExprTest, EvaluateTightensTheZoneWithoutClosingIt) {
  test::OwnedState state(prototype->copy());
  EXPECT_TRUE(atMost(1, 3)->evaluate(state.get()));
  EXPECT_FALSE(state->getUnpackedRegion()->isClosed());
  EXPECT_TRUE(atMost(1, 2, true)->evaluate(state.get()));
  EXPECT_TRUE(atLeast(1, 1, true)->evaluate(state.get()));
  EXPECT_TRUE(state->ok());
  EXPECT_EQ(rawBounds(state.get(), 1), std::make_pair(-2 * 1, 2 * 2)); // 1 < x1 < 2

  // The opposite bound contradicts at once.
  EXPECT_FALSE(atLeast(1, 3)->evaluate(state.get()));
  EXPECT_FALSE(state->ok());
}

TEST_F(ClockExprTest, TheNegationOfABoundIsTheStrictOpposite) {
  // x1 - 0 <= 5 negates to 0 - x1 < -5.
  const Pointer<TCTLExpression> negated = atMost(1, 5)->negate();
  EXPECT_EQ(valueOf(asClock(negated).getI()), 0);
  EXPECT_EQ(valueOf(asClock(negated).getJ()), 1);
  EXPECT_EQ(valueOf(asClock(negated).getBound()), -5);
  EXPECT_TRUE(asClock(negated).isStrict());
  EXPECT_FALSE(asClock(negated->negate()).isStrict());
  EXPECT_EQ(valueOf(asClock(negated->negate()).getBound()), 5);
}

// Every valuation satisfies exactly one of a constraint and its negation:
// checked on the point zones x = v and the open intervals v < x < v + 1,
// for upper and lower bounds, strict or not, and for a clock difference.
TEST_F(ClockExprTest, AConstraintAndItsNegationSplitEveryZone) {
  std::vector<Pointer<TCTLExpression>> constraints;
  for (bool strict : {false, true}) {
    constraints.push_back(atMost(1, 4, strict));
    constraints.push_back(atLeast(1, 4, strict));
    constraints.push_back(
        new ClockExpr(constant(1), strict ? opLess : opLessEqual, constant(2), 1));
  }
  for (const Pointer<TCTLExpression>& c : constraints) {
    const Pointer<TCTLExpression> notC = c->negate();
    for (int v = 0; v <= 8; ++v) {
      for (bool open : {false, true}) {
        test::OwnedState piece(prototype->copy());
        piece->tighten(1, 0, open ? 2 * (v + 1) : 2 * v + 1);
        piece->tighten(0, 1, open ? -2 * v : -2 * v + 1);
        piece->tighten(2, 0, 2 * 3 + 1); // x2 = 3
        piece->tighten(0, 2, -2 * 3 + 1);
        ASSERT_TRUE(piece->ok());
        test::OwnedState a(piece->copy());
        test::OwnedState b(piece->copy());
        const bool holds = c->evaluate(a.get()) && a->ok();
        const bool negationHolds = notC->evaluate(b.get()) && b->ok();
        EXPECT_NE(holds, negationHolds) << "x1 " << (open ? "in (" : "= ") << v;
      }
    }
  }
}

TEST_F(ClockExprTest, CollectsEveryClockAnArrayElementMayDenote) {
  // Element of a clock array of clocks 1..3 indexed by integer cell 0.
  Pointer<Expression> element =
      new Sum(constant(1), new Range(new Variable(0, 1, 0, 9), 1, 0, 2, 1));
  std::set<int> clocks;
  ClockExpr(element, opLess, constant(0), 2).collectClocks(clocks);
  EXPECT_EQ(clocks, (std::set<int>{0, 1, 2, 3}));
  // Evaluated on a state, the element is one clock.
  test::OwnedState state(prototype->copy());
  state->getIntegerReference()[0] = 1; // x2
  EXPECT_TRUE(ClockExpr(element, opLessEqual, constant(0), 7).evaluate(state.get()));
  state->ok();
  EXPECT_EQ(rawBounds(state.get(), 2).second, 2 * 7 + 1);
  EXPECT_EQ(rawBounds(state.get(), 1), closedInterval(0, 10));
}

TEST_F(ClockExprTest, FuzzyEvaluationTestsLowerBoundsOnTheBorder) {
  // The zone x1 <= 5, as on the border of a delay.
  test::OwnedState state(prototype->copy());
  restrictClock(state.get(), 1, 0, 5);
  auto fuzzy = [&](const Pointer<TCTLExpression>& e) {
    test::OwnedState scratch(state->copy());
    const bool answer = asClock(e).evaluateFuzzy(scratch.get(), scratch->getUnpackedRegion());
    if (answer) { // a zone that stays non-empty is left closed
      EXPECT_TRUE(scratch->getUnpackedRegion()->isClosed());
    }
    return answer;
  };
  EXPECT_TRUE(fuzzy(atLeast(1, 5, true))); // x1 > 5 tested as x1 >= 5
  EXPECT_FALSE(fuzzy(atLeast(1, 6, true)));
  EXPECT_TRUE(fuzzy(atMost(1, 5, true)));
  // Upper bounds keep their strictness: x1 >= 5 and x1 < 5 is empty.
  restrictClock(state.get(), 1, 5, 5);
  EXPECT_FALSE(fuzzy(atMost(1, 5, true)));
  // A difference keeps it too: x1 - x2 < 5 with x2 = 0 is empty.
  restrictClock(state.get(), 2, 0, 0);
  EXPECT_FALSE(fuzzy(new ClockExpr(constant(1), opLess, constant(2), 5)));
  EXPECT_TRUE(fuzzy(new ClockExpr(constant(1), opLessEqual, constant(2), 5)));
}

TEST_F(ClockExprTest, EvaluateMultiGivesEmptiedStatesBackToTheAllocator) {
  list = {allocated(0, 2), allocated(5, 8), allocated(1, 9)};
  GlobalState* emptied = *std::next(list.begin());
  atMost(1, 4)->evaluateMulti(list, allocator.get());
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(bounds(list), (decltype(bounds(list)){closedInterval(0, 2), closedInterval(1, 4)}));
  EXPECT_EQ(allocator->blocksOut(), 2u);
  EXPECT_EQ(allocator->allocate(), emptied); // its block was returned
  allocator->deallocate(emptied);
}

TEST_F(ClockExprTest, PrintsNothingAndVisitsItsHook) {
  struct Recorder : TCTLVisitor {
    int clocks = 0;
    void visitClockExpr(ClockExpr*) override { ++clocks; }
  } recorder;
  const Pointer<TCTLExpression> e = atMost(1, 2);
  e->accept(recorder);
  EXPECT_EQ(recorder.clocks, 1);
  std::ostringstream out;
  out << *e;
  EXPECT_EQ(out.str(), "");
}

} // namespace
} // namespace orvela
