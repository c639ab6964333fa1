#include "model/Guard.h"

#include "TestState.h"
#include "model/Arrays.h"

#include <gtest/gtest.h>

#include <string>

namespace orvela {
namespace {

using test::constant;
using test::TestState;

TEST(IntegerGuard, EachComparisonCodeOnLessEqualAndGreaterOperands) {
  // Code, then the results for left < right, left == right, left > right.
  const int rows[6][4] = {{0, 0, 1, 1}, {1, 1, 1, 0}, {2, 1, 0, 0},
                          {3, 0, 0, 1}, {4, 0, 1, 0}, {5, 1, 0, 1}};
  TestState state({0});
  for (const auto& row : rows) {
    IntegerGuard guard(new Variable(0, 1, -9, 9), static_cast<OpType>(row[0]), constant(2));
    for (int left = 1; left <= 3; ++left) {
      state.integers[0] = left;
      EXPECT_EQ(guard.evaluateScalar(&state), row[left]) << "code " << row[0] << " left " << left;
    }
  }
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
