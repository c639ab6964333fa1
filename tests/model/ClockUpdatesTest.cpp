#include "model/ClockUpdates.h"

#include "TestState.h"
#include "model/Arrays.h"
#include "model/BinaryExpressions.h"
#include "model/CommaExpression.h"
#include "model/Guard.h"
#include "model/LogicExpressions.h"
#include "model/Range.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace orvela {
namespace {

using test::constant;
using test::TestState;
using Operation = TestState::ClockOperation;

// Element of a clock array x[3] whose clocks are 3, 4, 5, indexed by the
// integer in cell 0 (bounded as the parser bounds array indices).
Pointer<Expression> clockElement() {
  return new Sum(constant(3),
                 new Product(new Range(new Variable(0, 1, -9, 9), 1, 0, 2, 1), constant(1)));
}

// An update that reports fixed clock uses, standing for any clock update.
class FixedClockUse : public Assignment {
public:
  FixedClockUse(int used, int reset) : used_(used), reset_(reset) {}
  void accept(ExpressionVisitor&) override {}
  void evaluate(PublicState*, int*) const override {}
  void regClockUse(Process*, std::set<int>& used, std::set<int>& reset) override {
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
  ClockShiftReset shift(constant(2), -3);
  shift.evaluateScalar(&state);
  EXPECT_EQ(state.clockOperations, (std::vector<Operation>{{'r', 5, 0, 7}, {'o', 2, 0, -3}}));
  EXPECT_EQ(shift.getType(), 4);
  EXPECT_EQ(state.integers, std::vector<int>{2});
}

TEST(ClockUpdates, OnlyASingleClockIsADefiniteReset) {
  std::set<int> used, reset;
  ClockAssign(constant(2), 0).regClockUse(nullptr, used, reset);
  EXPECT_EQ(reset, std::set<int>{2});
  // x[i] := 0 resets one of three clocks, none of them definitely.
  ClockAssign(clockElement(), 0).regClockUse(nullptr, used, reset);
  EXPECT_EQ(reset, std::set<int>{2});
  ClockShiftReset(constant(6), 1).regClockUse(nullptr, used, reset);
  EXPECT_EQ(reset, std::set<int>{2});
  EXPECT_TRUE(used.empty());
}

TEST(ClockUpdates, CompositesCollectFromBothPartsAndConditionalsNeverReset) {
  std::set<int> used, reset;
  CommaExpression(new ClockAssign(constant(1), 0), new FixedClockUse(3, 4))
      .regClockUse(nullptr, used, reset);
  EXPECT_EQ(used, std::set<int>{3});
  EXPECT_EQ(reset, (std::set<int>{1, 4}));

  used.clear();
  reset = {9};
  const Pointer<IntegerGuard> always = new IntegerGuard(constant(0), opEqual, constant(0));
  ConditionalReset(always,
                   new CommaExpression(new ClockAssign(constant(2), 0), new FixedClockUse(5, 6)))
      .regClockUse(nullptr, used, reset);
  EXPECT_EQ(used, std::set<int>{5});
  EXPECT_EQ(reset, std::set<int>{9});

  used.clear();
  reset.clear();
  AndExpression(new FixedClockUse(7, 8), new FixedClockUse(1, 2)).regClockUse(nullptr, used, reset);
  EXPECT_EQ(used, (std::set<int>{1, 7}));
  EXPECT_EQ(reset, (std::set<int>{2, 8}));
}

} // namespace
} // namespace orvela
