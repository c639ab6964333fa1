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

} // namespace
} // namespace orvela
