// The expression tree: evaluation against a test state view, ranges, clock
// use, the visitor, and the updates.

#include "expr/Expression.h"

#include "TestState.h"
#include "expr/Arrays.h"
#include "expr/Assignment.h"
#include "expr/BinaryExpressions.h"
#include "expr/ClockUpdates.h"
#include "expr/CommaExpression.h"
#include "expr/Constant.h"
#include "expr/ExpressionVisitor.h"
#include "expr/Guard.h"
#include "expr/LogicExpressions.h"
#include "expr/Range.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <numeric>
#include <random>
#include <string>

namespace orvela {
namespace {

using test::constant;
using test::TestState;
using Clocks = std::set<int>;

// ------------------------------------------------------------------ arrays

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

// ------------------------------------------------------------- assignments

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

// -------------------------------------------------------------- arithmetic

Pointer<BinaryExpression> makeOperator(int which) {
  const Pointer<Expression> l = constant(0), r = constant(1);
  const Pointer<BinaryExpression> all[] = {new Sum(l, r),           new Difference(l, r),
                                           new Product(l, r),       new Divide(l, r),
                                           new MinExpression(l, r), new MaxExpression(l, r)};
  return all[which];
}

// The operator in exact arithmetic; a quotient by 0 is defined as 0.
int64_t exactValue(int which, int64_t l, int64_t r) {
  const int64_t all[] = {l + r, l - r, l * r, r == 0 ? 0 : l / r, std::min(l, r), std::max(l, r)};
  return all[which];
}

TEST(BinaryExpressions, EvaluationWrapsAroundAndDivisionNeverTraps) {
  TestState state({0, -1, INT_MIN});
  const Pointer<Expression> zero = new Variable(0, 1, -5, 5);
  const Pointer<Expression> lowest = new Variable(2, 1, INT_MIN, INT_MAX);
  EXPECT_EQ(Sum(constant(INT_MAX), constant(1)).evaluateScalar(&state), INT_MIN);
  EXPECT_EQ(Difference(constant(INT_MIN), constant(1)).evaluateScalar(&state), INT_MAX);
  EXPECT_EQ(Product(constant(65536), constant(65537)).evaluateScalar(&state), 65536);
  EXPECT_EQ(Divide(constant(-7), constant(2)).evaluateScalar(&state), -3);
  EXPECT_EQ(Divide(constant(17), zero).evaluateScalar(&state), 0);
  EXPECT_EQ(Divide(lowest, new Variable(1, 1, -5, 5)).evaluateScalar(&state), INT_MIN);
}

TEST(BinaryExpressions, RangesOfTheExamplesAndOfZeroDivisors) {
  const Pointer<Expression> small = new Variable(0, 1, 0, 5), large = new Variable(1, 1, 0, 10);
  EXPECT_EQ(MaxExpression(small, large).getRange(), Interval(0, 10));
  EXPECT_EQ(MinExpression(small, large).getRange(), Interval(0, 5));
  EXPECT_EQ(Product(new Difference(small, large), constant(-2)).getRange(), Interval(-10, 20));
  const Divide divide(constant(0), constant(1));
  EXPECT_EQ(divide.getInnerRange({10, 20}, {0, 5}), Interval(0, 20));
  EXPECT_EQ(divide.getInnerRange({10, 20}, {-2, 2}), Interval(-20, 20));
  // INT_MIN / -1 wraps to INT_MIN while its neighbours give INT_MAX.
  EXPECT_EQ(divide.getInnerRange({INT_MIN, 0}, {-1, -1}), fullInterval);
  EXPECT_EQ(divide.getInnerRange({INT_MIN + 1, 0}, {-1, -1}), Interval(0, INT_MAX));
}

// A range must hold every value evaluation can produce; when no 32-bit
// overflow is possible it must be the exact hull, otherwise every value.
// Evaluation flags exactly the results that do not fit.
TEST(BinaryExpressions, RangesMatchBruteForceOverRandomIntervals) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> anyInt(INT_MIN, INT_MAX - 5), width(0, 5), kind(0, 3);
  const int starts[] = {INT_MIN, INT_MAX - 5, 46338, -46343};
  auto randomInterval = [&] {
    const int k = kind(random);
    const int lower = k < 2 ? starts[kind(random)] : k == 2 ? width(random) - 8 : anyInt(random);
    return Interval(lower, lower + width(random));
  };
  for (int round = 0; round < 3000; ++round) {
    const Interval a = randomInterval(), b = randomInterval();
    for (int which = 0; which < 6; ++which) {
      const Pointer<BinaryExpression> op = makeOperator(which);
      const Interval range = op->getInnerRange(a, b);
      int64_t lower = INT64_MAX, upper = INT64_MIN;
      for (int64_t l = a.first; l <= a.second; ++l)
        for (int64_t r = b.first; r <= b.second; ++r) {
          const int64_t exact = exactValue(which, l, r);
          lower = std::min(lower, exact);
          upper = std::max(upper, exact);
          bool overflow = false;
          ASSERT_TRUE(contains(range, op->compute(int(l), int(r), overflow)))
              << which << ": " << l << ", " << r;
          ASSERT_EQ(overflow, exact < INT_MIN || exact > INT_MAX)
              << which << ": " << l << ", " << r;
        }
      const bool fits = lower >= INT_MIN && upper <= INT_MAX;
      ASSERT_EQ(range, fits ? Interval(int(lower), int(upper)) : fullInterval)
          << which << " over " << a.first << ".." << a.second << ", " << b.first << ".."
          << b.second;
    }
  }
}

TEST(BinaryExpressions, UnaryMinusFoldsOnlyConstants) {
  const Pointer<Expression> folded = uminus(new Sum(constant(1), constant(2)));
  ASSERT_NE(dynamic_cast<Constant*>(folded.get()), nullptr);
  EXPECT_EQ(folded->evaluateScalar(nullptr), -3);

  const Pointer<Expression> x = new Variable(0, 1, -2, 7);
  const Pointer<Expression> negated = uminus(x);
  auto* difference = dynamic_cast<Difference*>(negated.get());
  ASSERT_NE(difference, nullptr);
  EXPECT_EQ(difference->getRight(), x);
  TestState state({4});
  EXPECT_EQ(negated->evaluateScalar(&state), -4);
  EXPECT_EQ(negated->getRange(), Interval(-7, 2));
}

// ------------------------------------------------------------------- comma

TEST(CommaExpression, KeepsTheFirstEffectAndYieldsTheSecondValue) {
  TestState state(std::vector<int>(64));
  // (x := 4, y := x), then the value of y.
  const Pointer<Expression> first = new IntegerAssign(constant(0), constant(4));
  const Pointer<Expression> second = new IntegerAssign(constant(1), new Variable(0, 1, 0, 9));
  CommaExpression updates(new CommaExpression(first, second), new Variable(1, 1, -1, 9));
  EXPECT_EQ(updates.evaluateScalar(&state), 4);
  EXPECT_EQ(std::vector<int>(state.integers.begin(), state.integers.begin() + 3),
            (std::vector<int>{4, 4, 0}));
  EXPECT_EQ(updates.getRange(), Interval(-1, 9));

  // A discarded first part wider than the stack scratch space must not
  // overrun it; the second part's size is the comma's.
  std::iota(state.integers.begin(), state.integers.end(), 0);
  CommaExpression pair(new Variable(0, 40, 0, 99), new Variable(50, 3, 0, 99));
  ASSERT_EQ(pair.getSize(), 3);
  int out[3];
  pair.evaluate(&state, out);
  EXPECT_EQ(std::vector<int>(out, out + 3), (std::vector<int>{50, 51, 52}));
}

// ------------------------------------------------------------------- logic

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

// ------------------------------------------------------------------- range

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

// ------------------------------------------------------------------ guards

TEST(IntegerGuard, EachComparisonCodeOnLessEqualAndGreaterOperandsAndAnUnknownOne) {
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
  IntegerGuard unknown(constant(1), static_cast<OpType>(6), constant(1));
  try {
    unknown.evaluateScalar(nullptr);
    FAIL() << "no exception";
  } catch (const Bug& bug) {
    EXPECT_EQ(std::string(bug.what()), "IntegerGuard::eval() -- Unknown operation in guard.");
  }
}

// ----------------------------------------------------------- clock updates

// Element of a clock array whose clocks are 3, 4, 5, indexed by integer cell 0.
Pointer<Expression> clockElement() {
  return new Sum(constant(3),
                 new Product(new Range(new Variable(0, 1, -9, 9), 1, 0, 2, 1), constant(1)));
}

// An update reporting fixed clock uses, standing for any clock update.
class FixedClockUse : public Assignment {
public:
  FixedClockUse(int used, int reset) : used_(used), reset_(reset) {}
  void accept(ExpressionVisitor&) override {}
  void evaluate(PublicState*, int*) const override {}
  void regClockUse(Process*, Clocks& used, Clocks& reset) override {
    used.insert(used_);
    reset.insert(reset_);
  }

private:
  int used_, reset_;
};

TEST(ClockUpdates, ResetAndShiftGoThroughTheStateView) {
  TestState state({2});
  ClockAssign reset(clockElement(), 7);
  EXPECT_EQ(reset.getVar(&state), 5);
  reset.evaluateScalar(&state);
  ClockShiftReset(constant(2), -3).evaluateScalar(&state);
  EXPECT_EQ(state.updates, (std::vector<TestState::ClockUpdate>{{'r', 5, 7}, {'o', 2, -3}}));
  EXPECT_EQ(state.integers, std::vector<int>{2});
}

TEST(ClockUpdates, OnlyASingleClockIsADefiniteReset) {
  Clocks used, reset;
  ClockAssign(constant(2), 0).regClockUse(nullptr, used, reset);
  // x[i] := 0 resets one of three clocks, none of them definitely.
  ClockAssign(clockElement(), 0).regClockUse(nullptr, used, reset);
  ClockShiftReset(constant(6), 1).regClockUse(nullptr, used, reset);
  EXPECT_EQ(reset, Clocks{2});
  EXPECT_TRUE(used.empty());
}

TEST(ClockUpdates, CompositesCollectFromBothPartsAndConditionalsNeverReset) {
  Clocks used, reset;
  CommaExpression(new ClockAssign(constant(1), 0), new FixedClockUse(3, 4))
      .regClockUse(nullptr, used, reset);
  EXPECT_EQ(used, Clocks{3});
  EXPECT_EQ(reset, (Clocks{1, 4}));

  used.clear();
  reset = {9};
  const Pointer<IntegerGuard> always = new IntegerGuard(constant(0), opEqual, constant(0));
  ConditionalReset(always,
                   new CommaExpression(new ClockAssign(constant(2), 0), new FixedClockUse(5, 6)))
      .regClockUse(nullptr, used, reset);
  EXPECT_EQ(used, Clocks{5});
  EXPECT_EQ(reset, Clocks{9});

  AndExpression(new FixedClockUse(7, 8), new FixedClockUse(1, 2)).regClockUse(nullptr, used, reset);
  EXPECT_EQ(used, (Clocks{1, 5, 7}));
  EXPECT_EQ(reset, (Clocks{2, 8, 9}));
}

// ----------------------------------------------------------------- visitor

class Recorder : public ExpressionVisitor {
public:
  std::string seen; ///< hook names, each followed by a blank
  void visitAndExpression(AndExpression*) override { seen += "And "; }
  void visitClockAssign(ClockAssign*) override { seen += "ClockAssign "; }
  void visitClockShiftReset(ClockShiftReset*) override { seen += "ClockShift "; }
  void visitCommaExpression(CommaExpression*) override { seen += "Comma "; }
  void visitConstant(Constant* c) override { seen += std::to_string(c->getValue()) + " "; }
  void visitDifference(Difference*) override { seen += "Difference "; }
  void visitDivide(Divide*) override { seen += "Divide "; }
  void visitIfExpression(IfExpression*) override { seen += "If "; }
  void visitIntegerAssign(IntegerAssign*) override { seen += "IntegerAssign "; }
  void visitIntegerGuard(IntegerGuard*) override { seen += "Guard "; }
  void visitMaxExpression(MaxExpression*) override { seen += "Max "; }
  void visitMinExpression(MinExpression*) override { seen += "Min "; }
  void visitProduct(Product*) override { seen += "Product "; }
  void visitRange(Range*) override { seen += "Range "; }
  void visitStateExpression(StateExpression*) override { seen += "State "; }
  void visitSum(Sum*) override { seen += "Sum "; }
  void visitVariable(Variable*) override { seen += "Variable "; }
  void visitNotExpression(NotExpression*) override { seen += "Not "; }
  void visitConditionalReset(ConditionalReset*) override { seen += "Conditional "; }
};

// Operators visit their operands left to right before themselves; leaves and
// updates visit only themselves (not an index, a clamped operand, a target).
TEST(ExpressionVisitor, VisitsOperandsLeftToRightBeforeTheOperator) {
  Pointer<Variable> indexed = new Variable(0, 4, 0, 9);
  indexed->refine(constant(9), 4);
  const Pointer<IntegerGuard> guard = new IntegerGuard(constant(1), opLess, constant(2));
  const Pointer<Expression> choice =
      new IfExpression(guard, new NotExpression(new StateExpression(0, 0)),
                       new AndExpression(constant(6), constant(7)));
  const Pointer<Expression> tree = new MaxExpression(
      new Sum(constant(1), new Difference(indexed, constant(2))),
      new MinExpression(new Product(constant(3), new Divide(constant(4), constant(5))), choice));
  int values[2] = {1, 2};
  const Pointer<Expression> updates = new CommaExpression(
      new ConditionalReset(guard, new IntegerAssign(constant(0), new ConstantArray(values, 2))),
      new CommaExpression(new ClockAssign(constant(1), 0), new ClockShiftReset(constant(2), 1)));
  CommaExpression all(new CommaExpression(tree, updates), new Range(constant(5), 1, 0, 3, 1));
  Recorder recorder;
  all.accept(recorder);
  EXPECT_EQ(recorder.seen, "1 Variable 2 Difference Sum 3 4 5 Divide Product Guard State Not 6 7 "
                           "And If Min Max Guard IntegerAssign Conditional ClockAssign ClockShift "
                           "Comma Comma Comma Range Comma ");
}

} // namespace
} // namespace orvela
