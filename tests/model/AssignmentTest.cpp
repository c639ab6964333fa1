#include "model/Assignment.h"

#include "TestState.h"
#include "model/Arrays.h"
#include "model/BinaryExpressions.h"
#include "model/Guard.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvela {
namespace {

using test::constant;
using test::TestState;

TEST(IntegerAssign, WritesTheSourceAtTheDestinationIndex) {
  TestState state({1, 2, 3, 4});
  IntegerAssign increment(constant(2), new Sum(new Variable(2, 1, 0, 9), constant(5)));
  int out = -99;
  increment.evaluate(&state, &out);
  EXPECT_EQ(state.integers, (std::vector<int>{1, 2, 8, 4}));
  EXPECT_EQ(out, -99);
  EXPECT_FALSE(increment.isConstant());
  EXPECT_EQ(increment.getRange(), Interval(0, 0));
  EXPECT_EQ(increment.getSize(), 1);
}

TEST(IntegerAssign, VectorSourceFillsConsecutiveCellsFromAComputedIndex) {
  // a[i] := b where a is int[2][2] at 0, i is cell 6 and b is int[2] at 4.
  TestState state({0, 0, 0, 0, 7, 9, 1});
  const Pointer<Expression> row = new Product(new Variable(6, 1, 0, 1), constant(2));
  IntegerAssign copyRow(new Sum(constant(0), row), new Variable(4, 2, 0, 9));
  copyRow.evaluateScalar(&state);
  EXPECT_EQ(state.integers, (std::vector<int>{0, 0, 7, 9, 7, 9, 1}));
}

TEST(ConditionalReset, FalseConditionLeavesStateAndOutputUntouched) {
  TestState state({3, 0});
  const Pointer<Expression> x = new Variable(0, 1, 0, 9);
  ConditionalReset update(new IntegerGuard(x, opGreater, constant(5)),
                          new IntegerAssign(constant(1), constant(42)));
  int out = 1234;
  update.evaluate(&state, &out);
  EXPECT_EQ(state.integers, (std::vector<int>{3, 0}));
  EXPECT_EQ(out, 1234);
  state.integers[0] = 6;
  update.evaluate(&state, &out);
  EXPECT_EQ(state.integers, (std::vector<int>{6, 42}));
  EXPECT_FALSE(update.isConstant());
  EXPECT_EQ(update.getSize(), 1);
  EXPECT_EQ(update.getRange(), Interval(0, 0));
}

} // namespace
} // namespace orvela
