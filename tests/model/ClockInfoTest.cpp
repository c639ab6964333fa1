#include "model/ClockInfo.h"

#include "model/IntegerInfo.h"
#include "model/ModelTables.h"
#include "server/base/Exceptions.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace orvela {
namespace {

class ClockInfoTest : public ::testing::Test {
protected:
  void SetUp() override { resetModelTables(); }
};

TEST_F(ClockInfoTest, ReferenceClockComesFirstAndDeclaredClocksFollow) {
  ASSERT_EQ(ClockInfo::clocks.size(), 1u);
  EXPECT_STREQ(ClockInfo::clocks[0].name.get(), "t(0)");
  EXPECT_EQ(ClockInfo::clocks[0].index, 0);
  EXPECT_EQ(ClockInfo::addClock("x"), 1);
  EXPECT_EQ(ClockInfo::addClock("P.y[0]"), 2);
  EXPECT_EQ(ClockInfo::clocks[2].index, 2);
  EXPECT_STREQ(ClockInfo::clocks[2].name.get(), "P.y[0]");
}

TEST_F(ClockInfoTest, ResetStartsTheNextModelFromEmptyTables) {
  ClockInfo::addClock("x");
  IntegerInfo::addInteger("n", 0, 3, 1);
  resetModelTables();
  ASSERT_EQ(ClockInfo::clocks.size(), 1u);
  EXPECT_STREQ(ClockInfo::clocks[0].name.get(), "t(0)");
  EXPECT_TRUE(IntegerInfo::integers.empty());
  EXPECT_EQ(IntegerInfo::realInts, 0);
  EXPECT_EQ(IntegerInfo::addInteger("m", 0, 1, 0), 0);
  EXPECT_EQ(ClockInfo::addClock("z"), 1);
}

TEST_F(ClockInfoTest, RemovingAClockIsNotSupported) {
  try {
    ClockInfo::removeClock(0);
    FAIL() << "no exception";
  } catch (const Bug& bug) {
    EXPECT_EQ(std::string(bug.what()), "NI: static void ClockInfo::removeClock(int)");
  }
  EXPECT_EQ(ClockInfo::clocks.size(), 1u);
}

TEST_F(ClockInfoTest, DumpListsPositionNameAndIndex) {
  ClockInfo::addClock("x");
  std::ostringstream out;
  ClockInfo::printInfo(out);
  EXPECT_EQ(out.str(), "ClockInfo:\n  Clock #0  t(0) (0)\n  Clock #1  x (1)\n");
}

} // namespace
} // namespace orvela
