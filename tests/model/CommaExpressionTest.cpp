#include "model/CommaExpression.h"

#include "TestState.h"
#include "model/Arrays.h"
#include "model/Assignment.h"

#include <gtest/gtest.h>

#include <numeric>

namespace orvela {
namespace {

using test::constant;
using test::TestState;

TEST(CommaExpression, KeepsTheFirstEffectAndYieldsTheSecondValue) {
  TestState state({0, 0});
  // (x := 4, y := x), then the value of y.
  const Pointer<Expression> first = new IntegerAssign(constant(0), constant(4));
  const Pointer<Expression> second = new IntegerAssign(constant(1), new Variable(0, 1, 0, 9));
  CommaExpression updates(new CommaExpression(first, second), new Variable(1, 1, -1, 9));
  EXPECT_EQ(updates.evaluateScalar(&state), 4);
  EXPECT_EQ(state.integers, (std::vector<int>{4, 4}));
  EXPECT_EQ(updates.getRange(), Interval(-1, 9));
}

TEST(CommaExpression, WideFirstPartAndVectorSecondPart) {
  // A discarded first part wider than the stack scratch space must not
  // overrun it; the second part's size is the comma's.
  TestState state(std::vector<int>(64));
  std::iota(state.integers.begin(), state.integers.end(), 0);
  CommaExpression pair(new Variable(0, 40, 0, 99), new Variable(50, 3, 0, 99));
  ASSERT_EQ(pair.getSize(), 3);
  int out[3];
  pair.evaluate(&state, out);
  EXPECT_EQ(std::vector<int>(out, out + 3), (std::vector<int>{50, 51, 52}));
}

} // namespace
} // namespace orvela
