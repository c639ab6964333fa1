#include "model/ModelTables.h"

#include "model/ClockInfo.h"
#include "model/IntegerInfo.h"
#include "server/base/Exceptions.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvela {
namespace {

class ModelTablesTest : public ::testing::Test {
protected:
  void SetUp() override { resetModelTables(); }
  static std::string clockDump() {
    std::ostringstream out;
    ClockInfo::printInfo(out);
    return out.str();
  }
};

TEST_F(ModelTablesTest, ReferenceClockComesFirstInEveryLoadedModel) {
  EXPECT_EQ(ClockInfo::addClock("x"), 1);
  EXPECT_EQ(clockDump(), "ClockInfo:\n  Clock #0  t(0) (0)\n  Clock #1  x (1)\n");
  IntegerInfo::addInteger("n", 0, 3, 1);
  resetModelTables();
  EXPECT_TRUE(IntegerInfo::integers.empty());
  EXPECT_EQ(IntegerInfo::realInts, 0);
  EXPECT_EQ(ClockInfo::addClock("z"), 1);
  EXPECT_EQ(clockDump(), "ClockInfo:\n  Clock #0  t(0) (0)\n  Clock #1  z (1)\n");
}

TEST_F(ModelTablesTest, RemovingAClockIsNotSupported) {
  try {
    ClockInfo::removeClock(0);
    FAIL() << "no exception";
  } catch (const Bug& bug) {
    EXPECT_STREQ(bug.what(), "NI: static void ClockInfo::removeClock(int)");
  }
}

TEST_F(ModelTablesTest, IntegersAreIndexedInOrderFoundByNameAndDumped) {
  EXPECT_EQ(IntegerInfo::addInteger("x", -1, 7, 3), 0);
  for (const char* name : {"P.a[0]", "P.a[1]", "P.a[2]"})
    IntegerInfo::addInteger(name, 0, 9, 0);
  EXPECT_EQ(IntegerInfo::realInts, 4);
  EXPECT_EQ(IntegerInfo::getOffset("P.a[1]"), 2);
  EXPECT_EQ(IntegerInfo::getOffset("P.a"), -1);
  IntegerInfo::integers.resize(2);
  std::ostringstream out;
  IntegerInfo::printInfo(out);
  EXPECT_EQ(out.str(), "Integer x (0)\n  Domain: [-1, 7] = 3\n\n"
                       "Integer P.a[0] (1)\n  Domain: [0, 9] = 0\n\n");
}

} // namespace
} // namespace orvela
