#include "model/ClockUpdates.h"

#include "TestState.h"
#include "model/Arrays.h"
#include "model/BinaryExpressions.h"
#include "model/CommaExpression.h"
#include "model/Guard.h"
#include "model/LogicExpressions.h"
#include "model/Range.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::constant;
using test::TestState;
using Clocks = std::set<int>;

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

} // namespace
} // namespace orvela
