#include "model/ModelTables.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

TEST(ModelTablesTest, ReferenceClockComesFirstInEveryModel) {
  ModelTables tables;
  EXPECT_EQ(tables.addClock("x"), 1);
  ASSERT_EQ(tables.clockCount(), 2);
  EXPECT_EQ(tables.clocks[0].name, "t(0)");
  EXPECT_EQ(tables.clocks[1].index, 1);
  EXPECT_EQ(ModelTables().clockCount(), 1) << "a new model starts afresh";
}

TEST(ModelTablesTest, IntegersAreIndexedInOrderAndFoundByName) {
  ModelTables tables;
  EXPECT_EQ(tables.addInteger("x", -1, 7, 3), 0);
  for (const char* name : {"P.a[0]", "P.a[1]", "P.a[2]"})
    tables.addInteger(name, 0, 9, 0);
  EXPECT_EQ(tables.realInts, 4);
  EXPECT_EQ(tables.integerOffset("P.a[1]"), 2);
  EXPECT_EQ(tables.integerOffset("P.a"), -1);
  EXPECT_EQ(tables.integers[0].initial, 3);
}

TEST(ModelTablesTest, ChannelIdsCountFromOne) {
  ModelTables tables;
  EXPECT_EQ(tables.addChannel(false, false, "a"), 1);
  EXPECT_EQ(tables.addChannel(true, true, "b"), 2);
  EXPECT_EQ(tables.channel(2).name, "b");
  EXPECT_TRUE(tables.channel(2).broadcast);
  EXPECT_FALSE(tables.channel(1).urgent);
}

} // namespace
} // namespace orvela
