#include "model/BinaryExpressions.h"

#include "TestState.h"
#include "model/Arrays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

namespace orvela {
namespace {

using test::constant;
using test::TestState;

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

TEST(BinaryExpressions, RangesOfTheExamplesAndOfZeroDivisors) {
  const Pointer<Expression> small = new Variable(0, 1, 0, 5), large = new Variable(1, 1, 0, 10);
  EXPECT_EQ(MaxExpression(small, large).getRange(), Interval(0, 10));
  EXPECT_EQ(MinExpression(small, large).getRange(), Interval(0, 5));
  EXPECT_EQ(Product(new Difference(small, large), constant(-2)).getRange(), Interval(-10, 20));
  const Divide divide(constant(0), constant(1));
  EXPECT_EQ(divide.getInnerRange({10, 20}, {0, 5}), Interval(0, 20));
  EXPECT_EQ(divide.getInnerRange({10, 20}, {-2, 2}), Interval(-20, 20));
  // INT_MIN / -1 wraps to INT_MIN while its neighbours give INT_MAX.
  EXPECT_EQ(divide.getInnerRange({INT_MIN, 0}, {-1, -1}), fullInterval);
  EXPECT_EQ(divide.getInnerRange({INT_MIN + 1, 0}, {-1, -1}), Interval(0, INT_MAX));
}

// A range must hold every value evaluation can produce; when no 32-bit
// overflow is possible it must be the exact hull, otherwise every value.
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
          lower = std::min(lower, exactValue(which, l, r));
          upper = std::max(upper, exactValue(which, l, r));
          ASSERT_TRUE(contains(range, op->compute(int(l), int(r))))
              << which << ": " << l << ", " << r;
        }
      const bool fits = lower >= INT_MIN && upper <= INT_MAX;
      ASSERT_EQ(range, fits ? Interval(int(lower), int(upper)) : fullInterval)
          << which << " over " << a.first << ".." << a.second << ", " << b.first << ".."
          << b.second;
    }
  }
}

TEST(BinaryExpressions, UnaryMinusFoldsOnlyConstants) {
  const Pointer<Expression> folded = uminus(new Sum(constant(1), constant(2)));
  ASSERT_NE(dynamic_cast<Constant*>(folded.get()), nullptr);
  EXPECT_EQ(folded->evaluateScalar(nullptr), -3);

  const Pointer<Expression> x = new Variable(0, 1, -2, 7);
  const Pointer<Expression> negated = uminus(x);
  auto* difference = dynamic_cast<Difference*>(negated.get());
  ASSERT_NE(difference, nullptr);
  EXPECT_EQ(difference->getRight(), x);
  TestState state({4});
  EXPECT_EQ(negated->evaluateScalar(&state), -4);
  EXPECT_EQ(negated->getRange(), Interval(-7, 2));
}

} // namespace
} // namespace orvela
