#include "model/IntegerTable.h"

#include "model/IntegerInfo.h"
#include "model/ModelTables.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <vector>

namespace orvela {
namespace {

// A model with x = 1 and y = 0 initially.
class IntegerTableTest : public ::testing::Test {
protected:
  void SetUp() override {
    resetModelTables();
    IntegerInfo::addInteger("x", 0, 5, 1);
    IntegerInfo::addInteger("y", -3, 3, 0);
  }
  struct Remove {
    void operator()(IntegerTable* table) const { IntegerTable::remove(table); }
  };
  using Owned = std::unique_ptr<IntegerTable, Remove>;
};

TEST_F(IntegerTableTest, CreatedTablesTakeTheInitialValues) {
  Owned table(IntegerTable::create(3, true));
  ASSERT_EQ(table->getCount(), 3);
  EXPECT_EQ((std::vector<int>(table->getValues(), table->getValues() + 3)),
            (std::vector<int>{1, 0, 0}));
}

TEST_F(IntegerTableTest, CallerMemoryHoldsTheCountThenTheValues) {
  static_assert(IntegerTable::sizeOf(2) == 3);
  std::vector<int> memory(IntegerTable::sizeOf(2) + 1, -7);
  IntegerTable* table = IntegerTable::create(2, true, memory.data());
  EXPECT_EQ(static_cast<void*>(table), static_cast<void*>(memory.data()));
  EXPECT_EQ(memory, (std::vector<int>{2, 1, 0, -7}));
  (*table)[1] = 3;
  EXPECT_EQ(memory[2], 3);
}

TEST_F(IntegerTableTest, CopiesAreIndependentAndAssignmentCopiesValues) {
  Owned original(IntegerTable::create(2, true));
  Owned copy(original->copy());
  (*copy)[0] = 4;
  EXPECT_EQ((*original)[0], 1);
  EXPECT_FALSE(*copy == *original);
  *original = *copy;
  EXPECT_EQ((*original)[0], 4);
  EXPECT_TRUE(*copy == *original);
}

TEST_F(IntegerTableTest, EqualityLooksOnlyAtDeclaredVariables) {
  Owned a(IntegerTable::create(3, true));
  Owned b(IntegerTable::create(3, true));
  (*b)[2] = 99; // beyond realInts
  EXPECT_TRUE(*a == *b);
  (*b)[1] = 1;
  EXPECT_FALSE(*a == *b);
}

TEST_F(IntegerTableTest, TextFormsListEveryVariable) {
  Owned table(IntegerTable::create(2, true));
  std::ostringstream plain, streamed, query;
  table->display(plain);
  streamed << *table;
  table->displayAsQuery(query);
  EXPECT_EQ(plain.str(), "x=1 y=0 ");
  EXPECT_EQ(streamed.str(), "x=1 y=0 ");
  EXPECT_EQ(query.str(), " and x==1 and y==0");
  IntegerTable::remove(nullptr);
}

} // namespace
} // namespace orvela
