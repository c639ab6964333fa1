#include "model/Arrays.h"

#include "TestState.h"
#include "model/Range.h"
#include "server/base/Exceptions.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace orvela {
namespace {

using test::constant;
using test::TestState;

// A 3 x 4 integer array placed at base 2 of a state whose cell k holds 100+k.
class ArraysTest : public ::testing::Test {
protected:
  ArraysTest() : state(std::vector<int>(16)) {
    std::iota(state.integers.begin(), state.integers.end(), 100);
  }
  Pointer<Variable> grid() { return new Variable(2, 12, -5, 500); }
  TestState state;
};

TEST_F(ArraysTest, TwoIndicesSelectOneCellInRowMajorOrder) {
  Pointer<Variable> a = grid();
  a->refine(constant(1), 3);
  a->refine(constant(2), 4);
  EXPECT_EQ(a->getSize(), 1);
  EXPECT_EQ(a->getIndex(&state), 6);
  EXPECT_EQ(a->evaluateScalar(&state), 100 + 2 + 6);
}

TEST_F(ArraysTest, OneIndexSelectsARow) {
  Pointer<Variable> a = grid();
  a->refine(constant(1), 3);
  ASSERT_EQ(a->getSize(), 4);
  int out[4];
  a->evaluate(&state, out);
  EXPECT_EQ(std::vector<int>(out, out + 4), (std::vector<int>{106, 107, 108, 109}));
}

TEST_F(ArraysTest, IndexFromTheStateAndClampedIndices) {
  // Row index read from cell 0, clamped into [0, 2] as the parser does for an
  // index it cannot prove in bounds.
  Pointer<Variable> a = grid();
  const Pointer<Expression> row = new Range(new Variable(0, 1, -9, 9), 1, 0, 2, 7);
  a->refine(row, 3);
  a->refine(constant(3), 4);
  EXPECT_FALSE(a->isIndexConstant());
  state.integers[0] = 2;
  EXPECT_EQ(a->evaluateScalar(&state), 100 + 2 + 11);
  state.integers[0] = 9;
  EXPECT_EQ(a->evaluateScalar(&state), 100 + 2 + 11);
  state.integers[0] = -4;
  EXPECT_EQ(a->evaluateScalar(&state), 100 + 2 + 3);
}

TEST_F(ArraysTest, VariableReportsItsDomainAndIsNeverConstant) {
  Pointer<Variable> a = grid();
  EXPECT_EQ(a->getRange(), Interval(-5, 500));
  EXPECT_EQ(a->getSize(), 12);
  EXPECT_EQ(a->getIndex(&state), 0);
  EXPECT_TRUE(a->isIndexConstant());
  EXPECT_FALSE(a->isConstant());
}

TEST_F(ArraysTest, ConstantArrayRangeCoversAllValuesWhateverTheIndex) {
  int values[6] = {4, -8, 15, 16, 23, 42};
  Pointer<ConstantArray> a = new ConstantArray(values, 6);
  EXPECT_TRUE(a->isConstant());
  a->refine(constant(1), 2);
  EXPECT_EQ(a->getRange(), Interval(-8, 42));
  int out[3];
  a->evaluate(nullptr, out);
  EXPECT_EQ(std::vector<int>(out, out + 3), (std::vector<int>{16, 23, 42}));

  Pointer<ConstantArray> b = new ConstantArray(values, 6);
  b->refine(new Variable(0, 1, 0, 5), 6);
  EXPECT_FALSE(b->isConstant());
  state.integers[0] = 2;
  EXPECT_EQ(b->evaluateScalar(&state), 15);
}

TEST_F(ArraysTest, NonPositiveDimensionIsRejected) {
  Pointer<Variable> a = grid();
  EXPECT_THROW(a->refine(constant(0), 0), InputError);
  EXPECT_EQ(a->getSize(), 12);
}

} // namespace
} // namespace orvela
