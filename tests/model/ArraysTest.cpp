#include "model/Arrays.h"

#include "TestState.h"
#include "model/Range.h"

#include <gtest/gtest.h>

#include <numeric>

namespace orvela {
namespace {

using test::constant;
using test::TestState;

// A 3 x 4 integer array at base 2 of a state whose cell k holds 100 + k.
class ArraysTest : public ::testing::Test {
protected:
  ArraysTest() : state(std::vector<int>(16)), grid(new Variable(2, 12, -5, 500)) {
    std::iota(state.integers.begin(), state.integers.end(), 100);
  }
  TestState state;
  Pointer<Variable> grid;
};

TEST_F(ArraysTest, IndicesSelectRowsAndCellsInRowMajorOrder) {
  grid->refine(constant(1), 3);
  ASSERT_EQ(grid->getSize(), 4);
  int row[4];
  grid->evaluate(&state, row);
  EXPECT_EQ(std::vector<int>(row, row + 4), (std::vector<int>{106, 107, 108, 109}));
  grid->refine(constant(2), 4);
  EXPECT_EQ(grid->getIndex(&state), 6);
  EXPECT_EQ(grid->evaluateScalar(&state), 108);
  EXPECT_EQ(grid->getRange(), Interval(-5, 500));
}

TEST_F(ArraysTest, IndexReadFromTheStateIsClampedIntoTheDimension) {
  grid->refine(new Range(new Variable(0, 1, -9, 9), 1, 0, 2, 7), 3);
  grid->refine(constant(3), 4);
  EXPECT_FALSE(grid->isIndexConstant());
  for (auto [index, cell] : {std::pair{2, 113}, {9, 113}, {-4, 105}}) {
    state.integers[0] = index;
    EXPECT_EQ(grid->evaluateScalar(&state), cell) << index;
  }
}

TEST_F(ArraysTest, ConstantArrayRangeCoversAllValuesWhateverTheIndex) {
  int values[6] = {4, -8, 15, 16, 23, 42};
  Pointer<ConstantArray> a = new ConstantArray(values, 6);
  a->refine(constant(1), 2);
  EXPECT_TRUE(a->isConstant());
  EXPECT_EQ(a->getRange(), Interval(-8, 42));
  int out[3];
  a->evaluate(nullptr, out);
  EXPECT_EQ(std::vector<int>(out, out + 3), (std::vector<int>{16, 23, 42}));
  Pointer<ConstantArray> b = new ConstantArray(values, 6);
  b->refine(new Variable(0, 1, 0, 5), 6);
  EXPECT_FALSE(b->isConstant());
}

TEST_F(ArraysTest, NonPositiveDimensionIsRejected) {
  EXPECT_THROW(grid->refine(constant(0), 0), InputError);
  EXPECT_EQ(grid->getSize(), 12);
}

} // namespace
} // namespace orvela
