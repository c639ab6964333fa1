#include "model/Range.h"

#include "TestState.h"
#include "model/Arrays.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace orvela {
namespace {

using test::constant;
using test::TestState;

TEST(Range, ClampsEveryValueIntoTheBounds) {
  TestState state({-20, 0, 3, 7, INT_MAX});
  Range clamp(new Variable(0, 5, INT_MIN, INT_MAX), 5, 0, 3, 12);
  ASSERT_EQ(clamp.getSize(), 5);
  std::vector<int> out(5);
  clamp.evaluate(&state, out.data());
  EXPECT_EQ(out, (std::vector<int>{0, 0, 3, 3, 3}));
  EXPECT_EQ(clamp.getRange(), Interval(0, 3));
  EXPECT_EQ(clamp.getLine(), 12);
  EXPECT_FALSE(clamp.isConstant());
}

TEST(Range, ConstantOperandStaysConstantAndFoldsToTheNearestBound) {
  Range high(constant(9), 1, 0, 4, 1);
  Range low(constant(-1), 1, 0, 4, 1);
  EXPECT_TRUE(high.isConstant());
  EXPECT_EQ(high.evaluateScalar(nullptr), 4);
  EXPECT_EQ(low.evaluateScalar(nullptr), 0);
  EXPECT_EQ(Range(constant(2), 1, 0, 4, 1).evaluateScalar(nullptr), 2);
}

} // namespace
} // namespace orvela
