#include "model/IntegerTable.h"

#include "model/IntegerInfo.h"
#include "model/ModelTables.h"

#include <gtest/gtest.h>

#include <memory>

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
    resetModelTables();
    IntegerInfo::addInteger("x", 0, 5, 1);
    IntegerInfo::addInteger("y", -3, 3, 0);
  }
};

TEST_F(IntegerTableTest, CopiesAreIndependentAndEqualityIgnoresExtraCells) {
  Owned original(IntegerTable::create(3, true));
  Owned copy(original->copy());
  (*copy)[2] = 99; // beyond the declared variables
  EXPECT_TRUE(*copy == *original);
  (*copy)[1] = 3; // the last declared variable counts
  EXPECT_FALSE(*copy == *original);
  (*copy)[1] = 0;
  (*copy)[0] = 4;
  EXPECT_EQ((*original)[0], 1);
  EXPECT_FALSE(*copy == *original);
  *original = *copy;
  EXPECT_EQ((*original)[0], 4);
  EXPECT_EQ((*original)[2], 99);
}

} // namespace
} // namespace orvela
