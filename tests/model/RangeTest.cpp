#include "model/Range.h"

#include "TestState.h"
#include "model/Arrays.h"

#include <gtest/gtest.h>

#include <climits>

namespace orvela {
namespace {

using test::constant;
using test::TestState;

TEST(Range, ClampsEveryValueAndKeepsConstantsConstant) {
  TestState state({-20, 0, 3, 7, INT_MAX});
  Range clamp(new Variable(0, 5, INT_MIN, INT_MAX), 5, 0, 3, 12);
  std::vector<int> out(5);
  clamp.evaluate(&state, out.data());
  EXPECT_EQ(out, (std::vector<int>{0, 0, 3, 3, 3}));
  EXPECT_EQ(clamp.getRange(), Interval(0, 3));
  EXPECT_TRUE(Range(constant(9), 1, 0, 4, 1).isConstant());
  EXPECT_EQ(Range(constant(9), 1, 0, 4, 1).evaluateScalar(nullptr), 4);
}

} // namespace
} // namespace orvela
