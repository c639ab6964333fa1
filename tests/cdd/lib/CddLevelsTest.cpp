#include "CddTestSupport.h"

namespace cddtest {
namespace {

class CddLevelsTest : public CddFixture {
protected:
  void SetUp() override { start(0); }
};

TEST_F(CddLevelsTest, ClockPairsGetLevelsClockByClock) {
  ASSERT_EQ(lib->addClocks(1), 0); // the reference clock has no pair
  EXPECT_EQ(lib->levelCount(), 0);
  ASSERT_EQ(lib->addClocks(3), 0);
  ASSERT_EQ(lib->clockCount(), 4);
  ASSERT_EQ(lib->levelCount(), 6);
  const int pairs[6][2] = {{1, 0}, {2, 0}, {2, 1}, {3, 0}, {3, 1}, {3, 2}};
  for (int level = 0; level < 6; ++level) {
    CddLevelInfo info = lib->levelInfo(level);
    EXPECT_EQ(info.type, 0);
    EXPECT_EQ(info.clock1, pairs[level][0]);
    EXPECT_EQ(info.clock2, pairs[level][1]);
    EXPECT_EQ(info.diff, info.clock1 * (info.clock1 - 1) / 2 + info.clock2);
    EXPECT_EQ(lib->diffToLevel(info.diff), level);
  }
  EXPECT_EQ(lib->diffToLevel(6), -1);
  EXPECT_EQ(lib->diffToLevel(-1), -1);
}

TEST_F(CddLevelsTest, BooleanLevelsShiftTheLevelsOfLaterClocks) {
  ASSERT_EQ(lib->addClocks(2), 0);   // level 0: (1,0)
  ASSERT_EQ(lib->addBooleans(2), 0); // levels 1 and 2
  ASSERT_EQ(lib->addClocks(1), 0);   // clock 2: levels 3 and 4
  EXPECT_EQ(lib->levelCount(), 5);
  EXPECT_NE(lib->levelInfo(1).type, 0);
  EXPECT_NE(lib->levelInfo(2).type, 0);
  EXPECT_EQ(lib->diffToLevel(0), 0);
  EXPECT_EQ(lib->diffToLevel(1), 3); // (2,0)
  EXPECT_EQ(lib->diffToLevel(2), 4); // (2,1)
  CddLevelInfo info = lib->levelInfo(4);
  EXPECT_EQ(info.clock1, 2);
  EXPECT_EQ(info.clock2, 1);
}

TEST_F(CddLevelsTest, ClocksAddedLaterExtendExistingDiagrams) {
  ASSERT_EQ(lib->addClocks(2), 0);
  Zone small(2);
  small.constrain(1, 0, le(3));
  cdd before = small.diagram(*lib);
  ASSERT_EQ(lib->addClocks(1), 0);
  Zone wide(3);
  wide.constrain(1, 0, le(3)).constrain(2, 1, lt(1));
  cdd both = before & wide.diagram(*lib);
  for (const Point& x : gridPoints(3, 5))
    EXPECT_EQ(evalAt(both, x), wide.contains(x));
}

} // namespace
} // namespace cddtest
