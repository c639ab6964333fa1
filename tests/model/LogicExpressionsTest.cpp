#include "model/LogicExpressions.h"

#include "TestState.h"
#include "model/Arrays.h"
#include "model/Assignment.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::constant;
using test::TestState;

Pointer<IntegerGuard> isPositive(const Pointer<Expression>& e) {
  return new IntegerGuard(e, opGreater, constant(0));
}

TEST(LogicExpressions, StateExpressionTestsTheProcessLocation) {
  TestState state({}, {3, 1});
  EXPECT_EQ(StateExpression(1, 1).evaluateScalar(&state), 1);
  EXPECT_EQ(StateExpression(0, 1).evaluateScalar(&state), 0);
  EXPECT_EQ(StateExpression(0, 3).evaluateScalar(&state), 1);
  EXPECT_FALSE(StateExpression(0, 3).isConstant());
  EXPECT_EQ(StateExpression(0, 3).getRange(), Interval(0, 1));
}

TEST(LogicExpressions, NotMapsZeroToOneAndAnythingElseToZero) {
  TestState state({0, -7});
  EXPECT_EQ(NotExpression(new Variable(0, 1, -9, 9)).evaluateScalar(&state), 1);
  EXPECT_EQ(NotExpression(new Variable(1, 1, -9, 9)).evaluateScalar(&state), 0);
  EXPECT_TRUE(NotExpression(constant(4)).isConstant());
  EXPECT_FALSE(NotExpression(new Variable(1, 1, -9, 9)).isConstant());
}

TEST(LogicExpressions, AndYieldsTheRightValueAndSkipsItAfterAFalseLeft) {
  TestState state({5, 0});
  const Pointer<Expression> five = new Variable(0, 1, 0, 9);
  EXPECT_EQ(AndExpression(constant(1), five).evaluateScalar(&state), 5);
  EXPECT_EQ(AndExpression(five, constant(-2)).evaluateScalar(&state), -2);
  // A right side with an effect shows whether it was evaluated.
  const Pointer<Expression> setSecond = new IntegerAssign(constant(1), constant(8));
  EXPECT_EQ(AndExpression(constant(0), setSecond).evaluateScalar(&state), 0);
  EXPECT_EQ(state.integers[1], 0);
  AndExpression(constant(1), setSecond).evaluateScalar(&state);
  EXPECT_EQ(state.integers[1], 8);

  EXPECT_EQ(AndExpression(five, isPositive(five)).getRange(), Interval(0, 1));
  EXPECT_EQ(AndExpression(constant(1), five).getRange(), Interval(0, 9));
  EXPECT_TRUE(AndExpression(constant(1), constant(2)).isConstant());
  EXPECT_FALSE(AndExpression(constant(1), five).isConstant());
}

TEST(LogicExpressions, IfChoosesABranchByTheGuard) {
  TestState state({2, 10, 20, 30, 40});
  const Pointer<Expression> x = new Variable(0, 1, -3, 3);
  IfExpression choice(isPositive(x), constant(100), new Variable(1, 1, -50, 50));
  EXPECT_EQ(choice.evaluateScalar(&state), 100);
  state.integers[0] = 0;
  EXPECT_EQ(choice.evaluateScalar(&state), 10);
  EXPECT_EQ(choice.getRange(), Interval(-50, 100));
  EXPECT_FALSE(IfExpression(isPositive(constant(1)), constant(1), constant(2)).isConstant());

  // Array-valued branches: the value, and the size, are the chosen array's.
  IfExpression rows(isPositive(x), new Variable(1, 2, 0, 99), new Variable(3, 2, 0, 99));
  EXPECT_EQ(rows.getSize(), 2);
  int out[2];
  rows.evaluate(&state, out);
  EXPECT_EQ(out[0], 30);
  EXPECT_EQ(out[1], 40);
}

} // namespace
} // namespace orvela
