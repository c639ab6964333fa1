#include "model/Guard.h"

#include "TestState.h"
#include "model/Arrays.h"
#include "server/base/Exceptions.h"

#include <gtest/gtest.h>

#include <string>

namespace orvela {
namespace {

using test::constant;
using test::TestState;

TEST(IntegerGuard, EachComparisonCodeOnLessEqualAndGreaterOperands) {
  // Expected results for left < right, left == right, left > right.
  struct Row {
    OpType op;
    int code;
    int less, equal, greater;
  };
  const Row rows[] = {{opGreaterEqual, 0, 0, 1, 1}, {opLessEqual, 1, 1, 1, 0},
                      {opLess, 2, 1, 0, 0},         {opGreater, 3, 0, 0, 1},
                      {opEqual, 4, 0, 1, 0},        {opNotEqual, 5, 1, 0, 1}};
  TestState state({0});
  const Pointer<Expression> x = new Variable(0, 1, -10, 10);
  for (const Row& row : rows) {
    EXPECT_EQ(static_cast<int>(row.op), row.code);
    IntegerGuard guard(x, row.op, constant(2));
    state.integers[0] = 1;
    EXPECT_EQ(guard.evaluateScalar(&state), row.less) << row.code;
    state.integers[0] = 2;
    EXPECT_EQ(guard.evaluateScalar(&state), row.equal) << row.code;
    state.integers[0] = 3;
    EXPECT_EQ(guard.evaluateScalar(&state), row.greater) << row.code;
  }
}

TEST(IntegerGuard, IsANonConstantIntegerTestInZeroOne) {
  IntegerGuard guard(constant(1), opEqual, constant(1));
  EXPECT_EQ(guard.getType(), 5);
  EXPECT_FALSE(guard.isConstant());
  EXPECT_EQ(guard.getRange(), Interval(0, 1));
  EXPECT_EQ(guard.getSize(), 1);
}

TEST(IntegerGuard, UnknownComparisonCodeIsABug) {
  IntegerGuard guard(constant(1), static_cast<OpType>(6), constant(1));
  try {
    guard.evaluateScalar(nullptr);
    FAIL() << "no exception";
  } catch (const Bug& bug) {
    EXPECT_EQ(std::string(bug.what()), "IntegerGuard::eval() -- Unknown operation in guard.");
  }
}

} // namespace
} // namespace orvela
