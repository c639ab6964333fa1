#include "model/RegionRecorder.h"

#include "TestState.h"
#include "expr/Assignment.h"
#include "expr/ClockUpdates.h"
#include "model/ModelTables.h"
#include "symbolic/UnpackedRegion.h"

#include <gtest/gtest.h>

#include <climits>

namespace orvela {
namespace {

using test::constant;
using test::TestState;

constexpr int infinity = INT_MAX;
constexpr int lessEqual(int c) { return 2 * c + 1; }

// Clocks x (1) and y (2) besides the reference clock, and one integer.
class RegionRecorderTest : public ::testing::Test {
protected:
  void SetUp() override { zone = UnpackedRegion::create(3, true); }
  void TearDown() override { Region::remove(zone); }
  UnpackedRegion* zone = nullptr;
};

TEST_F(RegionRecorderTest, RecordsWithoutChangingTheSourceState) {
  TestState state({4}, {1});
  RegionRecorder recorder(&state, 1);
  EXPECT_TRUE(recorder.tighten(0, 1, lessEqual(-3)));
  int scratch;
  ClockAssign(constant(1), 0).evaluate(&recorder, &scratch);
  ClockShiftReset(constant(2), 4).evaluate(&recorder, &scratch);
  IntegerAssign(constant(0), constant(8)).evaluate(&recorder, &scratch);
  EXPECT_EQ(recorder.getIntegerReference()[0], 8);
  EXPECT_EQ(state.integers[0], 4);
  EXPECT_TRUE(state.updates.empty());
  ASSERT_EQ(recorder.getTightenings().size(), 1u);
  EXPECT_EQ(recorder.getTightenings()[0].raw, -5);
  ASSERT_EQ(recorder.getResets().size(), 2u);
  EXPECT_EQ(recorder.getResets()[0].kind, RegionRecorder::reset_t::reset);
  EXPECT_EQ(recorder.getResets()[1].kind, RegionRecorder::reset_t::offset);
  EXPECT_EQ(recorder.getResets()[1].value, 4);
  EXPECT_EQ(recorder.getLocation(0), 1);
  try {
    recorder.getGlobalState();
    FAIL() << "no exception";
  } catch (const Bug& bug) {
    EXPECT_STREQ(bug.what(), "RegionRecorder cannot return GlobalState");
  }
}

TEST_F(RegionRecorderTest, ReplayUndoesResetsAndShiftsThenAppliesTheGuards) {
  // After the edge: x = 0 and y >= 5. The edge had x >= 3, y <= 20 as guard,
  // reset x to 0 and shifted y by 2.
  zone->tightenRaw(1, 0, lessEqual(0));
  zone->tightenRaw(0, 2, lessEqual(-5));
  zone->close();
  TestState state({0}, {0});
  RegionRecorder recorder(&state, 1);
  recorder.tighten(0, 1, lessEqual(-3));
  recorder.tighten(2, 0, lessEqual(20));
  recorder.reset(1, 0);
  recorder.offset(2, 2);
  recorder.replayReverse(zone);
  zone->close();
  ASSERT_FALSE(zone->isEmpty());
  EXPECT_EQ(zone->get(0, 1), lessEqual(-3));
  EXPECT_EQ(zone->get(1, 0), infinity);
  EXPECT_EQ(zone->get(0, 2), lessEqual(-3));
  EXPECT_EQ(zone->get(2, 0), lessEqual(20));
  EXPECT_EQ(zone->get(1, 2), infinity);
  EXPECT_EQ(zone->get(2, 1), lessEqual(17)); // y <= 20 and x >= 3
}

TEST_F(RegionRecorderTest, AResetToAValueTheZoneCannotHaveEmptiesIt) {
  zone->tightenRaw(1, 0, lessEqual(0));
  zone->close();
  TestState state({0}, {0});
  RegionRecorder recorder(&state, 1);
  recorder.reset(1, 4);
  recorder.replayReverse(zone);
  zone->close();
  EXPECT_TRUE(zone->isEmpty());
}

} // namespace
} // namespace orvela
