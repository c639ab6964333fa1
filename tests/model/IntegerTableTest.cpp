#include "symbolic/IntegerTable.h"

#include "model/ModelTables.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace orvela {
namespace {

struct Remove {
  void operator()(IntegerTable* table) const { IntegerTable::remove(table); }
};
using Owned = std::unique_ptr<IntegerTable, Remove>;

// A model with x = 1 and y = 0 initially.
class IntegerTableTest : public ::testing::Test {
protected:
  void SetUp() override {
    tables.addInteger("x", 0, 5, 1);
    tables.addInteger("y", -3, 3, 0);
  }
  ModelTables tables;
};

TEST_F(IntegerTableTest, CallerMemoryHoldsTheCountThenTheValues) {
  std::vector<int> memory(IntegerTable::sizeOf(3) + 1, -7);
  IntegerTable* table = IntegerTable::create(3, true, memory.data());
  EXPECT_EQ(static_cast<void*>(table), static_cast<void*>(memory.data()));
  EXPECT_EQ(memory, (std::vector<int>{3, 0, 0, 0, -7}));
  (*table)[1] = 3;
  EXPECT_EQ(memory[2], 3);
}

TEST_F(IntegerTableTest, CopiesAreIndependentAndEqualityComparesEveryValue) {
  Owned original(IntegerTable::create(tables.integers));
  Owned copy(original->copy());
  EXPECT_TRUE(*copy == *original);
  (*copy)[1] = 3; // the last variable counts
  EXPECT_FALSE(*copy == *original);
  (*copy)[1] = 0;
  (*copy)[0] = 4;
  EXPECT_EQ((*original)[0], 1);
  EXPECT_FALSE(*copy == *original);
  *original = *copy;
  EXPECT_EQ((*original)[0], 4);
  Owned longer(IntegerTable::create(3, true));
  (*longer)[0] = 4;
  EXPECT_FALSE(*longer == *original) << "tables of different models";
}

TEST_F(IntegerTableTest, TextFormsListEveryVariable) {
  Owned table(IntegerTable::create(tables.integers));
  std::ostringstream plain, query;
  table->display(plain, tables.integers);
  table->displayAsQuery(query, tables.integers);
  EXPECT_EQ(plain.str(), "x=1 y=0 ");
  EXPECT_EQ(query.str(), " and x==1 and y==0");
}

} // namespace
} // namespace orvela
