#include "model/LogicExpressions.h"

#include "TestState.h"
#include "model/Arrays.h"
#include "model/Assignment.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::constant;
using test::TestState;

TEST(LogicExpressions, LocationTestAndNegation) {
  TestState state({0, -7}, {3, 1});
  EXPECT_EQ(StateExpression(1, 1).evaluateScalar(&state), 1);
  EXPECT_EQ(StateExpression(0, 1).evaluateScalar(&state), 0);
  EXPECT_EQ(NotExpression(new Variable(0, 1, -9, 9)).evaluateScalar(&state), 1);
  EXPECT_EQ(NotExpression(new Variable(1, 1, -9, 9)).evaluateScalar(&state), 0);
}

TEST(LogicExpressions, AndYieldsTheRightValueAndSkipsItAfterAFalseLeft) {
  TestState state({5, 0});
  const Pointer<Expression> five = new Variable(0, 1, 0, 9);
  EXPECT_EQ(AndExpression(constant(1), five).evaluateScalar(&state), 5);
  EXPECT_EQ(AndExpression(constant(1), five).getRange(), Interval(0, 9));
  // A right side with an effect shows whether it was evaluated.
  const Pointer<Expression> setSecond = new IntegerAssign(constant(1), constant(8));
  AndExpression(constant(0), setSecond).evaluateScalar(&state);
  EXPECT_EQ(state.integers[1], 0);
  AndExpression(five, setSecond).evaluateScalar(&state);
  EXPECT_EQ(state.integers[1], 8);
}

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

} // namespace
} // namespace orvela
