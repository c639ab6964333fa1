// The formula tree: clock constraints, integer conditions (the adaptor),
// conjunctions and disjunctions.

#include "formula/TCTLExpression.h"

#include "base/Exceptions.h"
#include "expr/Arrays.h"
#include "expr/Constant.h"
#include "expr/Guard.h"
#include "formula/AndExpr.h"
#include "formula/ClockExpr.h"
#include "formula/OrExpr.h"
#include "formula/TCTLExpressionAdaptor.h"
#include "support/StateFixtures.h"
#include "symbolic/Allocator.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace orvela {
namespace {

using test::OwnedState;
using test::restrictClock;
using Bounds = std::vector<std::pair<int32_t, int32_t>>;
using Formula = Pointer<TCTLExpression>;

Pointer<Expression> constant(int value) { return new Constant(value); }

/// x_k <= c (or < c).
Formula atMost(int k, int c, bool strict = false) {
  return new ClockExpr(constant(k), strict ? opLess : opLessEqual, constant(0), c);
}
/// x_k >= c (or > c).
Formula atLeast(int k, int c, bool strict = false) {
  return new ClockExpr(constant(k), strict ? opGreater : opGreaterEqual, constant(0), c);
}
/// i0 == value.
Formula integerIs(int value) {
  return new TCTLExpressionAdaptor(
      new IntegerGuard(new Variable(0, 1, -100, 100), opEqual, constant(value)));
}

/// The raw bounds (lower as stored in row 0, upper in column 0) of clock k.
std::pair<int32_t, int32_t> rawBounds(const GlobalState* state, unsigned k = 1) {
  const UnpackedRegion* zone = state->getUnpackedRegion();
  return {zone->get(0, k), zone->get(k, 0)};
}
/// Raw bounds of l <= x <= u.
std::pair<int32_t, int32_t> closedInterval(int l, int u) { return {-2 * l + 1, 2 * u + 1}; }

/// A model of three clocks and two integers, a chunk allocator for unpacked
/// states of one process, and a heap state with x1 in [0, 10] to copy from.
class TCTLExpressionTest : public ::testing::Test {
protected:
  void SetUp() override {
    model = test::setUpModel(3, 2);
    allocator = createChunkAllocator(int(4 * GlobalState::sizeOfUnpacked(1, 2, 4)));
    prototype = test::makeState(model, {0}, {0, 0});
    restrictClock(prototype.get(), 1, 0, 10);
  }
  void TearDown() override {
    for (GlobalState* state : list)
      returnState(state, allocator.get());
    EXPECT_EQ(allocator->blocksOut(), 0u) << "states not given back to the allocator";
  }

  /// A copy of the prototype with x1 restricted to [low, high].
  OwnedState copy(int low = 0, int high = 10) {
    OwnedState state(prototype->copy());
    restrictClock(state.get(), 1, low, high);
    return state;
  }
  /// The same in a block of the allocator, with the given trace identifier.
  GlobalState* allocated(int low, int high, int traceId = -1) {
    GlobalState* state = prototype->unpackedCopy(allocator->allocate());
    restrictClock(state, 1, low, high);
    state->setTraceId(traceId);
    return state;
  }
  Bounds bounds() const {
    Bounds result;
    for (const GlobalState* state : list)
      result.push_back(rawBounds(state));
    return result;
  }

  Pointer<Allocator> allocator;
  ModelTables model;
  OwnedState prototype;
  StateList list; ///< given back at the end of each test
};

// ------------------------------------------------------------ clock atoms

TEST_F(TCTLExpressionTest, FuzzyEvaluationTestsLowerBoundsOnTheBorder) {
  // The zone x1 <= 5, as on the border of a delay.
  OwnedState state = copy(0, 5);
  auto fuzzy = [&](const Formula& e) {
    OwnedState scratch(state->copy());
    const bool answer = dynamic_cast<const ClockExpr&>(*e).evaluateFuzzy(
        scratch.get(), scratch->getUnpackedRegion());
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

// ----------------------------------------------------------- composites

TEST_F(TCTLExpressionTest, OrRestrictsTheZoneToTheFirstSatisfiableDisjunct) {
  const OrExpr apart(atMost(1, 3), atLeast(1, 5));
  for (auto [low, high, expected] :
       {std::tuple{0, 10, closedInterval(0, 3)}, std::tuple{4, 10, closedInterval(5, 10)}}) {
    OwnedState state = copy(low, high);
    EXPECT_TRUE(apart.evaluate(state.get()));
    EXPECT_TRUE(state->ok());
    EXPECT_EQ(rawBounds(state.get()), expected) << low;
  }
  OwnedState between = copy(4, 4);
  EXPECT_FALSE(apart.evaluate(between.get()) && between->ok());

  // x1 <= 3 and x2 >= 5 and x2 - x1 <= 1 is empty, which the tightenings
  // alone do not show: the disjunct must be closed before it is taken, or
  // x1 >= 5 would be lost.
  const Formula hidden = new AndExpr(new AndExpr(atMost(1, 3), atLeast(2, 5)),
                                     new ClockExpr(constant(2), opLessEqual, constant(1), 1));
  OwnedState probe = copy();
  ASSERT_TRUE(hidden->evaluate(probe.get())); // the tightenings do not see it
  ASSERT_FALSE(probe->ok());
  OwnedState state = copy();
  EXPECT_TRUE(OrExpr(hidden, atLeast(1, 5)).evaluate(state.get()));
  EXPECT_TRUE(state->ok());
  EXPECT_EQ(rawBounds(state.get()), closedInterval(5, 10));
}

// ---------------------------------------------------------------- negation

// Every valuation satisfies exactly one of a formula and its negation:
// checked for each node kind on the point zones x1 = v and the open intervals
// v < x1 < v + 1 (with x2 = 3), for two values of integer 0.
TEST_F(TCTLExpressionTest, EveryNodeKindAndItsNegationSplitEveryZone) {
  std::vector<std::pair<Formula, int>> formulas; // with the type of the negation
  for (bool strict : {false, true}) {
    formulas.emplace_back(atMost(1, 4, strict), TCTLExpression::clockType);
    formulas.emplace_back(atLeast(1, 4, strict), TCTLExpression::clockType);
    formulas.emplace_back(new ClockExpr(constant(1), strict ? opLess : opLessEqual, constant(2), 1),
                          TCTLExpression::clockType);
  }
  formulas.emplace_back(new AndExpr(atLeast(1, 3), atMost(1, 6)), TCTLExpression::orType);
  formulas.emplace_back(new OrExpr(atMost(1, 1), atLeast(1, 5, true)), TCTLExpression::andType);
  formulas.emplace_back(new AndExpr(integerIs(4), atMost(1, 2)), TCTLExpression::orType);
  formulas.emplace_back(integerIs(4), TCTLExpression::adaptorType);
  for (const auto& [formula, negatedType] : formulas) {
    const Formula negated = formula->negate();
    EXPECT_EQ(negated->getType(), negatedType);
    for (int v = 0; v <= 8; ++v)
      for (bool open : {false, true})
        for (int integer : {3, 4}) {
          OwnedState piece(prototype->copy());
          piece->getIntegerReference()[0] = integer;
          piece->tighten(1, 0, open ? 2 * (v + 1) : 2 * v + 1);
          piece->tighten(0, 1, open ? -2 * v : -2 * v + 1);
          restrictClock(piece.get(), 2, 3, 3);
          ASSERT_TRUE(piece->ok());
          OwnedState a(piece->copy()), b(piece->copy());
          const bool holds = formula->evaluate(a.get()) && a->ok();
          const bool negationHolds = negated->evaluate(b.get()) && b->ok();
          EXPECT_NE(holds, negationHolds) << "formula " << *formula << ", i0 " << integer << ", x1 "
                                          << (open ? "in (" : "= ") << v;
        }
  }
  // The negated operands keep their order: not (3 <= x1 <= 6) on [0, 10]
  // leaves x1 < 3, the first disjunct.
  OwnedState state = copy();
  EXPECT_TRUE(formulas[6].first->negate()->evaluate(state.get()));
  EXPECT_TRUE(state->ok());
  EXPECT_EQ(rawBounds(state.get()), std::make_pair(1, 2 * 3));
}

// ------------------------------------------------------ lists of states

TEST_F(TCTLExpressionTest, EvaluateMultiKeepsThePiecesWhereTheFormulaHolds) {
  // Over x1 in [0, 2] with i0 = 1, [5, 8] with i0 = 0, [1, 9] with i0 = 1.
  struct Case {
    const char* name;
    Formula formula;
    Bounds expected;
    std::size_t dropped; ///< the state that goes
  };
  const Case cases[] = {
      {"clock", atMost(1, 4), {closedInterval(0, 2), closedInterval(1, 4)}, 1},
      {"and",
       new AndExpr(atLeast(1, 3), atMost(1, 8)),
       {closedInterval(5, 8), closedInterval(3, 8)},
       0},
      {"integer", integerIs(1), {closedInterval(0, 2), closedInterval(1, 9)}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    list = {allocated(0, 2), allocated(5, 8), allocated(1, 9)};
    list.back()->getIntegerReference()[0] = 1;
    list.front()->getIntegerReference()[0] = 1;
    GlobalState* dropped = *std::next(list.begin(), std::ptrdiff_t(c.dropped));
    c.formula->evaluateMulti(list, allocator.get());
    EXPECT_EQ(bounds(), c.expected);
    EXPECT_EQ(allocator->blocksOut(), 2u);
    EXPECT_EQ(allocator->allocate(), dropped); // its block was given back
    allocator->deallocate(dropped);
    for (GlobalState* state : list)
      returnState(state, allocator.get());
    list.clear();
  }
}

TEST_F(TCTLExpressionTest, EvaluateMultiSplitsADisjunctionIntoTwoStates) {
  list = {allocated(0, 10, 7)};
  OrExpr(atMost(1, 3), atLeast(1, 5)).evaluateMulti(list, allocator.get());
  EXPECT_EQ(bounds(), (Bounds{closedInterval(0, 3), closedInterval(5, 10)}));
  for (const GlobalState* piece : list) {
    EXPECT_EQ(piece->getTraceId(), 7);
    EXPECT_TRUE(piece->discEqual(prototype.get()));
  }
  EXPECT_EQ(allocator->blocksOut(), 2u);
}

} // namespace
} // namespace orvela
