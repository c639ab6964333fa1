// The expression tree: evaluation against a test state view, ranges, clock
// use, and the updates, the copy of a clock against the reference zones.

#include "expr/Expression.h"

#include "expr/Arrays.h"
#include "expr/Assignment.h"
#include "expr/BinaryExpressions.h"
#include "expr/ClockCopyReset.h"
#include "expr/ClockUpdates.h"
#include "expr/CommaExpression.h"
#include "expr/Constant.h"
#include "expr/Guard.h"
#include "expr/LogicExpressions.h"
#include "expr/Range.h"
#include "support/StateFixtures.h"
#include "support/TestState.h"
#include "symbolic/RegionFixtures.h"
#include "symbolic/ZoneReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <numeric>
#include <random>
#include <string>

namespace orvela {
namespace {

using test::constant;
using test::Matrix;
using test::TestState;
using test::ZoneGenerator;
using Clocks = std::set<int>;

// -------------------------------------------------------------- arithmetic

Pointer<BinaryExpression> makeOperator(int which) {
  const Pointer<Expression> l = constant(0), r = constant(1);
  const Pointer<BinaryExpression> all[] = {new Sum(l, r),           new Difference(l, r),
                                           new Product(l, r),       new Divide(l, r),
                                           new MinExpression(l, r), new MaxExpression(l, r)};
  return all[which];
}

// The operator in exact arithmetic; a quotient by 0 is defined as 0.
int64_t exactValue(int which, int64_t l, int64_t r) {
  const int64_t all[] = {l + r, l - r, l * r, r == 0 ? 0 : l / r, std::min(l, r), std::max(l, r)};
  return all[which];
}

TEST(BinaryExpressions, EvaluationWrapsAroundAndDivisionNeverTraps) {
  TestState state({0, -1, INT_MIN});
  const Pointer<Expression> zero = new Variable(0, 1, -5, 5);
  const Pointer<Expression> lowest = new Variable(2, 1, INT_MIN, INT_MAX);
  EXPECT_EQ(Sum(constant(INT_MAX), constant(1)).evaluateScalar(&state), INT_MIN);
  EXPECT_EQ(Difference(constant(INT_MIN), constant(1)).evaluateScalar(&state), INT_MAX);
  EXPECT_EQ(Product(constant(65536), constant(65537)).evaluateScalar(&state), 65536);
  EXPECT_EQ(Divide(constant(-7), constant(2)).evaluateScalar(&state), -3);
  EXPECT_EQ(Divide(constant(17), zero).evaluateScalar(&state), 0);
  EXPECT_EQ(Divide(lowest, new Variable(1, 1, -5, 5)).evaluateScalar(&state), INT_MIN);
}

// A range must hold every value evaluation can produce; when no 32-bit
// overflow is possible it must be the exact hull, otherwise every value.
// Evaluation flags exactly the results that do not fit.
TEST(BinaryExpressions, RangesMatchBruteForceOverRandomIntervals) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> anyInt(INT_MIN, INT_MAX - 5), width(0, 5), kind(0, 3);
  const int starts[] = {INT_MIN, INT_MAX - 5, 46338, -46343};
  auto randomInterval = [&] {
    const int k = kind(random);
    const int lower = k < 2 ? starts[kind(random)] : k == 2 ? width(random) - 8 : anyInt(random);
    return Interval(lower, lower + width(random));
  };
  for (int round = 0; round < 3000; ++round) {
    const Interval a = randomInterval(), b = randomInterval();
    for (int which = 0; which < 6; ++which) {
      const Pointer<BinaryExpression> op = makeOperator(which);
      const Interval range = op->getInnerRange(a, b);
      int64_t lower = INT64_MAX, upper = INT64_MIN;
      for (int64_t l = a.first; l <= a.second; ++l)
        for (int64_t r = b.first; r <= b.second; ++r) {
          const int64_t exact = exactValue(which, l, r);
          lower = std::min(lower, exact);
          upper = std::max(upper, exact);
          bool overflow = false;
          ASSERT_TRUE(contains(range, op->compute(int(l), int(r), overflow)))
              << which << ": " << l << ", " << r;
          ASSERT_EQ(overflow, exact < INT_MIN || exact > INT_MAX)
              << which << ": " << l << ", " << r;
        }
      const bool fits = lower >= INT_MIN && upper <= INT_MAX;
      ASSERT_EQ(range, fits ? Interval(int(lower), int(upper)) : fullInterval)
          << which << " over " << a.first << ".." << a.second << ", " << b.first << ".."
          << b.second;
    }
  }
}

// ------------------------------------------------------------------- comma

TEST(CommaExpression, KeepsTheFirstEffectAndYieldsTheSecondValue) {
  TestState state(std::vector<int>(64));
  // (x := 4, y := x), then the value of y.
  const Pointer<Expression> first = new IntegerAssign(constant(0), constant(4));
  const Pointer<Expression> second = new IntegerAssign(constant(1), new Variable(0, 1, 0, 9));
  CommaExpression updates(new CommaExpression(first, second), new Variable(1, 1, -1, 9));
  EXPECT_EQ(updates.evaluateScalar(&state), 4);
  EXPECT_EQ(std::vector<int>(state.integers.begin(), state.integers.begin() + 3),
            (std::vector<int>{4, 4, 0}));
  EXPECT_EQ(updates.getRange(), Interval(-1, 9));

  // A discarded first part wider than the stack scratch space must not
  // overrun it; the second part's size is the comma's.
  std::iota(state.integers.begin(), state.integers.end(), 0);
  CommaExpression pair(new Variable(0, 40, 0, 99), new Variable(50, 3, 0, 99));
  ASSERT_EQ(pair.getSize(), 3);
  int out[3];
  pair.evaluate(&state, out);
  EXPECT_EQ(std::vector<int>(out, out + 3), (std::vector<int>{50, 51, 52}));
}

// ------------------------------------------------------------------- logic

TEST(LogicExpressions, IfChoosesABranchByTheGuard) {
  TestState state({2, 10, 20, 30, 40});
  const Pointer<IntegerGuard> positive =
      new IntegerGuard(new Variable(0, 1, -3, 3), opGreater, constant(0));
  IfExpression choice(positive, constant(100), new Variable(1, 1, -50, 50));
  EXPECT_EQ(choice.evaluateScalar(&state), 100);
  EXPECT_EQ(choice.getRange(), Interval(-50, 100));
  // Array-valued branches: the value, and the size, are the chosen array's.
  IfExpression rows(positive, new Variable(1, 2, 0, 99), new Variable(3, 2, 0, 99));
  ASSERT_EQ(rows.getSize(), 2);
  state.integers[0] = 0;
  EXPECT_EQ(choice.evaluateScalar(&state), 10);
  int out[2];
  rows.evaluate(&state, out);
  EXPECT_EQ(std::vector<int>(out, out + 2), (std::vector<int>{30, 40}));
}

// ----------------------------------------------------------- clock updates

// Element of a clock array whose clocks are 3, 4, 5, indexed by integer cell 0.
Pointer<Expression> clockElement() {
  return new Sum(constant(3),
                 new Product(new Range(new Variable(0, 1, -9, 9), 1, 0, 2, 1), constant(1)));
}

// Only an update of one known clock is a definite reset; a copy reads its
// source, each clock an element may name.
TEST(ClockUpdates, OnlyASingleClockIsADefiniteReset) {
  Clocks used, reset;
  ClockAssign(constant(2), 0).regClockUse(nullptr, used, reset);
  // x[i] := 0 resets one of three clocks, none of them definitely.
  ClockAssign(clockElement(), 0).regClockUse(nullptr, used, reset);
  ClockShiftReset(constant(6), 1).regClockUse(nullptr, used, reset);
  EXPECT_EQ(reset, Clocks{2});
  EXPECT_TRUE(used.empty());
  ClockCopyReset(constant(6), clockElement()).regClockUse(nullptr, used, reset); // x[i] := x6
  EXPECT_EQ(reset, Clocks{2});
  ClockCopyReset(clockElement(), constant(1)).regClockUse(nullptr, used, reset); // x1 := x[i]
  EXPECT_EQ(used, (Clocks{3, 4, 5, 6}));
  EXPECT_EQ(reset, (Clocks{1, 2}));
}

/// d := s from the definition: forget everything about d, then make it
/// equal to s.
Matrix copiedByDefinition(Matrix z, unsigned s, unsigned d) {
  if (s == d)
    return z;
  for (unsigned k = 0; k < z.n; ++k) {
    if (k != d) {
      z.at(d, k) = test::inf;
      z.at(k, d) = test::inf;
    }
  }
  z.tighten(d, s, 1);
  z.tighten(s, d, 1);
  z.close();
  return z;
}

TEST(ClockUpdates, ACopyTakesTheSourceBoundsOnRandomZones) {
  ZoneGenerator gen(61);
  for (int round = 0; round < 300; ++round) {
    const int clocks = gen.uniform(1, 6);
    const ModelTables model = test::setUpModel(clocks, 1);
    const unsigned n = unsigned(clocks + 1);
    const Matrix zone = gen.closedZone(n, 2 * clocks);
    test::OwnedState state = test::makeState(model, {0}, {0});
    test::load(state->getUnpackedRegion(), zone);
    const unsigned s = unsigned(gen.uniform(0, clocks));
    const unsigned d = unsigned(gen.uniform(1, clocks));
    int unused = -5;
    ClockCopyReset(constant(int(s)), constant(int(d))).evaluate(state.get(), &unused);
    ASSERT_EQ(test::matrixOf(state->getUnpackedRegion()).m, copiedByDefinition(zone, s, d).m)
        << "round " << round << ": " << s << " into " << d;
    EXPECT_EQ(unused, -5);
    EXPECT_TRUE(state->getUnpackedRegion()->isClosed());
  }
}

TEST(IntegerGuard, EachComparisonCodeOnLessEqualAndGreaterOperands) {
  // Code, then the results for left < right, left == right, left > right.
  const int rows[6][4] = {{0, 0, 1, 1}, {1, 1, 1, 0}, {2, 1, 0, 0},
                          {3, 0, 0, 1}, {4, 0, 1, 0}, {5, 1, 0, 1}};
  TestState state({0});
  for (const auto& row : rows) {
    IntegerGuard guard(new Variable(0, 1, -9, 9), static_cast<OpType>(row[0]), constant(2));
    for (int left = 1; left <= 3; ++left) {
      state.integers[0] = left;
      EXPECT_EQ(guard.evaluateScalar(&state), row[left]) << "code " << row[0] << " left " << left;
    }
  }
}

} // namespace
} // namespace orvela
