#include "model/IntegerInfo.h"

#include "model/ModelTables.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvela {
namespace {

class IntegerInfoTest : public ::testing::Test {
protected:
  void SetUp() override { resetModelTables(); }
};

TEST_F(IntegerInfoTest, RecordsGetConsecutiveIndicesAndAreFoundByName) {
  EXPECT_EQ(IntegerInfo::addInteger("n", -5, 5, 2), 0);
  for (const char* name : {"P.a[0]", "P.a[1]", "P.a[2]"})
    IntegerInfo::addInteger(name, 0, 9, 0);
  ASSERT_EQ(IntegerInfo::integers.size(), 4u);
  EXPECT_EQ(IntegerInfo::realInts, 4);
  const IntegerInfo& n = IntegerInfo::integers[0];
  EXPECT_EQ(n.lower, -5);
  EXPECT_EQ(n.upper, 5);
  EXPECT_EQ(n.initial, 2);
  EXPECT_FALSE(n.meta);
  EXPECT_EQ(IntegerInfo::integers[3].index, 3);
  EXPECT_EQ(IntegerInfo::getOffset("P.a[1]"), 2);
  EXPECT_EQ(IntegerInfo::getOffset("P.a"), -1);
  EXPECT_EQ(IntegerInfo::getOffset("a[1]"), -1);
}

TEST_F(IntegerInfoTest, DumpShowsDomainAndInitialValue) {
  IntegerInfo::addInteger("x", -1, 7, 3);
  IntegerInfo::addInteger("y", 0, 1, 0);
  std::ostringstream one, all;
  one << IntegerInfo::integers[0];
  EXPECT_EQ(one.str(), "Integer x (0)\n  Domain: [-1, 7] = 3\n");
  IntegerInfo::printInfo(all);
  EXPECT_EQ(all.str(),
            "Integer x (0)\n  Domain: [-1, 7] = 3\n\nInteger y (1)\n  Domain: [0, 1] = 0\n\n");
}

} // namespace
} // namespace orvela
