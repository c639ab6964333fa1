#include "model/Transition.h"

#include "ModelFixtures.h"
#include "expr/Arrays.h"
#include "expr/Assignment.h"
#include "expr/ClockUpdates.h"
#include "expr/CommaExpression.h"
#include "model/ModelTables.h"
#include "model/ResetIndicator.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::constant;
using test::edge;
using test::TestState;

// x := 0, y := y + 3, n := 7 over clocks x (1), y (2) and integer n (0).
Pointer<Expression> threeUpdates() {
  Pointer<Expression> resetX = new ClockAssign(constant(1), 0);
  Pointer<Expression> shiftY = new ClockShiftReset(constant(2), 3);
  Pointer<Expression> setN = new IntegerAssign(constant(0), constant(7));
  return new CommaExpression(new CommaExpression(resetX, shiftY), setN);
}

class TransitionTest : public ::testing::Test {};

TEST_F(TransitionTest, IndicatedResetsLeaveTheStateAlone) {
  Pointer<Transition> move = edge(0, 1, nullptr, nullptr, threeUpdates());
  TestState state({4}, {0});
  float out[4] = {-1.0f, 10.0f, 20.0f, 30.0f};
  move->indicateResets(&state, 1, out);
  EXPECT_EQ(out[0], -1.0f);
  EXPECT_EQ(out[1], 0.0f);
  EXPECT_EQ(out[2], 23.0f);
  EXPECT_EQ(out[3], 30.0f);
  EXPECT_EQ(state.integers, (std::vector<int>{4}));
  EXPECT_TRUE(state.updates.empty());
  float untouched[2] = {5.0f, 6.0f};
  edge(0, 1)->indicateResets(&state, 1, untouched);
  EXPECT_EQ(untouched[1], 6.0f);
}

TEST_F(TransitionTest, AnIndicatorWorksOnItsOwnCopyOfTheState) {
  TestState state({4}, {2});
  float out[3] = {};
  ResetIndicator indicator(&state, 1, out);
  int scratch;
  threeUpdates()->evaluate(&indicator, &scratch);
  EXPECT_EQ(indicator.getIntegerReference()[0], 7);
  EXPECT_EQ(state.integers[0], 4);
  EXPECT_EQ(indicator.getLocation(0), 2);
  EXPECT_TRUE(indicator.tighten(1, 0, -5));
  try {
    indicator.getGlobalState();
    FAIL() << "no exception";
  } catch (const Bug& bug) {
    EXPECT_STREQ(bug.what(), "ResetIndicator cannot return GlobalState");
  }
}

TEST_F(TransitionTest, UpdatesApplyInOrderAndReportTheirDefiniteResets) {
  Pointer<Transition> move = edge(0, 1, nullptr, nullptr, threeUpdates());
  move->update();
  EXPECT_EQ(move->getResetClocks(), (std::set<int>{1}));
  EXPECT_TRUE(move->getUsedClocks().empty());
  TestState state({4}, {0});
  move->resetAssigns(&state);
  using Update = TestState::ClockUpdate;
  EXPECT_EQ(state.updates, (std::vector<Update>{{'r', 1, 0}, {'o', 2, 3}}));
  EXPECT_EQ(state.integers[0], 7);
  // A conditional reset is never a definite one.
  Pointer<Transition> maybe =
      edge(0, 1, nullptr, nullptr,
           new ConditionalReset(new Variable(0, 1, 0, 9), new ClockAssign(constant(2), 0)));
  maybe->update();
  EXPECT_TRUE(maybe->getResetClocks().empty());
}

} // namespace
} // namespace orvela
