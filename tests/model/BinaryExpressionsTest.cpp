#include "model/BinaryExpressions.h"

#include "TestState.h"
#include "model/Arrays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>

namespace orvela {
namespace {

using test::constant;
using test::TestState;

Pointer<BinaryExpression> makeOperator(int which, int left, int right) {
  const Pointer<Expression> l = constant(left), r = constant(right);
  switch (which) {
  case 0:
    return new Sum(l, r);
  case 1:
    return new Difference(l, r);
  case 2:
    return new Product(l, r);
  case 3:
    return new Divide(l, r);
  case 4:
    return new MinExpression(l, r);
  default:
    return new MaxExpression(l, r);
  }
}

// The operator in exact 64-bit arithmetic; a quotient by 0 is defined as 0.
int64_t exactValue(int which, int64_t l, int64_t r) {
  switch (which) {
  case 0:
    return l + r;
  case 1:
    return l - r;
  case 2:
    return l * r;
  case 3:
    return r == 0 ? 0 : l / r;
  case 4:
    return std::min(l, r);
  default:
    return std::max(l, r);
  }
}

TEST(BinaryExpressions, EvaluationWrapsAroundLike32BitHardware) {
  TestState state;
  EXPECT_EQ(Sum(constant(INT_MAX), constant(1)).evaluateScalar(&state), INT_MIN);
  EXPECT_EQ(Difference(constant(INT_MIN), constant(1)).evaluateScalar(&state), INT_MAX);
  EXPECT_EQ(Product(constant(65536), constant(65537)).evaluateScalar(&state), 65536);
  EXPECT_EQ(Product(constant(INT_MIN), constant(-1)).evaluateScalar(&state), INT_MIN);
  EXPECT_EQ(Divide(constant(7), constant(-2)).evaluateScalar(&state), -3);
  EXPECT_EQ(Divide(constant(-7), constant(2)).evaluateScalar(&state), -3);
  EXPECT_EQ(MinExpression(constant(-4), constant(3)).evaluateScalar(&state), -4);
  EXPECT_EQ(MaxExpression(constant(-4), constant(3)).evaluateScalar(&state), 3);
}

TEST(BinaryExpressions, DivisionNeverTraps) {
  TestState state({0, -1, INT_MIN});
  const Pointer<Expression> zero = new Variable(0, 1, -5, 5);
  const Pointer<Expression> minusOne = new Variable(1, 1, -5, 5);
  const Pointer<Expression> lowest = new Variable(2, 1, INT_MIN, INT_MAX);
  EXPECT_EQ(Divide(constant(17), zero).evaluateScalar(&state), 0);
  EXPECT_EQ(Divide(lowest, zero).evaluateScalar(&state), 0);
  EXPECT_EQ(Divide(lowest, minusOne).evaluateScalar(&state), INT_MIN);
}

TEST(BinaryExpressions, DivideRangeCoversZeroDivisorsAndOverflow) {
  const Divide divide(constant(0), constant(1));
  EXPECT_EQ(divide.getInnerRange({10, 20}, {0, 0}), Interval(0, 0));
  EXPECT_EQ(divide.getInnerRange({10, 20}, {0, 5}), Interval(0, 20));
  EXPECT_EQ(divide.getInnerRange({10, 20}, {-2, 2}), Interval(-20, 20));
  EXPECT_EQ(divide.getInnerRange({-9, 20}, {3, 4}), Interval(-3, 6));
  // INT_MIN / -1 wraps to INT_MIN while its neighbours give INT_MAX.
  EXPECT_EQ(divide.getInnerRange({INT_MIN, 0}, {-1, -1}), fullInterval);
  EXPECT_EQ(divide.getInnerRange({INT_MIN, 0}, {INT_MIN, -1}), fullInterval);
  EXPECT_EQ(divide.getInnerRange({INT_MIN + 1, 0}, {-1, -1}), Interval(0, INT_MAX));
  EXPECT_EQ(divide.getInnerRange(fullInterval, {INT_MIN, INT_MIN}), Interval(0, 1));
}

TEST(BinaryExpressions, RangesCombineBottomUp) {
  const Pointer<Expression> small = new Variable(0, 1, 0, 5);
  const Pointer<Expression> large = new Variable(1, 1, 0, 10);
  EXPECT_EQ(MaxExpression(small, large).getRange(), Interval(0, 10));
  EXPECT_EQ(MinExpression(small, large).getRange(), Interval(0, 5));
  EXPECT_EQ(Sum(small, constant(3)).getRange(), Interval(3, 8));
  EXPECT_EQ(Difference(small, large).getRange(), Interval(-10, 5));
  EXPECT_EQ(Product(new Difference(small, large), constant(-2)).getRange(), Interval(-10, 20));
  EXPECT_FALSE(Sum(small, constant(3)).isConstant());
  EXPECT_TRUE(Sum(constant(2), new Product(constant(3), constant(4))).isConstant());
}

// Every range must hold every value evaluation can produce; when no 32-bit
// overflow is possible it must be the exact hull, otherwise every value.
TEST(BinaryExpressions, RangesMatchBruteForceOverRandomIntervals) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> anyInt(INT_MIN, INT_MAX);
  std::uniform_int_distribution<int> small(-40, 40), width(0, 5), kind(0, 4);
  auto randomInterval = [&] {
    int64_t lower;
    switch (kind(random)) {
    case 0:
      lower = int64_t{INT_MIN} + width(random);
      break;
    case 1:
      lower = int64_t{INT_MAX} - 5;
      break;
    case 2:
      lower = 46340 - width(random) * (small(random) > 0 ? 1 : -1) - 2;
      break;
    case 3:
      lower = anyInt(random) / 2;
      break;
    default:
      lower = small(random);
    }
    return Interval(static_cast<int>(lower), static_cast<int>(lower + width(random)));
  };
  for (int round = 0; round < 3000; ++round) {
    const Interval a = randomInterval(), b = randomInterval();
    for (int which = 0; which < 6; ++which) {
      int64_t lower = INT64_MAX, upper = INT64_MIN;
      const Interval range = makeOperator(which, 0, 1)->getInnerRange(a, b);
      for (int64_t l = a.first; l <= a.second; ++l)
        for (int64_t r = b.first; r <= b.second; ++r) {
          const int64_t exact = exactValue(which, l, r);
          lower = std::min(lower, exact);
          upper = std::max(upper, exact);
          const int wrapped = makeOperator(which, int(l), int(r))->compute(int(l), int(r));
          ASSERT_TRUE(contains(range, wrapped)) << which << ": " << l << ", " << r;
        }
      const bool fits = lower >= INT_MIN && upper <= INT_MAX;
      ASSERT_EQ(range, fits ? Interval(int(lower), int(upper)) : fullInterval)
          << which << " over [" << a.first << ", " << a.second << "] and [" << b.first << ", "
          << b.second << "]";
    }
  }
}

TEST(BinaryExpressions, UnaryMinusFoldsOnlyConstants) {
  const Pointer<Expression> folded = uminus(new Sum(constant(1), constant(2)));
  auto* value = dynamic_cast<Constant*>(folded.get());
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->getValue(), -3);
  EXPECT_EQ(dynamic_cast<Constant&>(*uminus(constant(INT_MIN))).getValue(), INT_MIN);

  const Pointer<Expression> x = new Variable(0, 1, -2, 7);
  const Pointer<Expression> negated = uminus(x);
  auto* difference = dynamic_cast<Difference*>(negated.get());
  ASSERT_NE(difference, nullptr);
  EXPECT_EQ(difference->getRight(), x);
  EXPECT_EQ(difference->getLeft()->getRange(), Interval(0, 0));
  TestState state({4});
  EXPECT_EQ(negated->evaluateScalar(&state), -4);
  EXPECT_EQ(negated->getRange(), Interval(-7, 2));
  EXPECT_EQ(uminus(new Variable(0, 1, INT_MIN, 0))->getRange(), fullInterval);
}

} // namespace
} // namespace orvela
