#include "model/Assignment.h"

#include "TestState.h"
#include "model/Arrays.h"
#include "model/BinaryExpressions.h"
#include "model/Guard.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::constant;
using test::TestState;

TEST(IntegerAssign, WritesScalarsAndRowsAtTheDestinationIndex) {
  // x := x + 5 with x in cell 6, then a[x] := b with a int[2][2] at 0 (row
  // x starts at 2x) and b int[2] at 4.
  TestState state({0, 0, 0, 0, 7, 9, -4});
  const Pointer<Expression> x = new Variable(6, 1, -9, 9);
  int out = -99;
  IntegerAssign(constant(6), new Sum(x, constant(5))).evaluate(&state, &out);
  EXPECT_EQ(out, -99);
  IntegerAssign(new Product(x, constant(2)), new Variable(4, 2, 0, 9)).evaluateScalar(&state);
  EXPECT_EQ(state.integers, (std::vector<int>{0, 0, 7, 9, 7, 9, 1}));
}

TEST(ConditionalReset, FalseConditionLeavesStateAndOutputUntouched) {
  TestState state({3, 0});
  ConditionalReset update(new IntegerGuard(new Variable(0, 1, 0, 9), opGreater, constant(5)),
                          new IntegerAssign(constant(1), constant(42)));
  int out = 1234;
  update.evaluate(&state, &out);
  EXPECT_EQ(state.integers, (std::vector<int>{3, 0}));
  EXPECT_EQ(out, 1234);
  state.integers[0] = 6;
  update.evaluate(&state, &out);
  EXPECT_EQ(state.integers, (std::vector<int>{6, 42}));
}

} // namespace
} // namespace orvela
