#include "symbolic/Zone.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace orvela {
namespace {

TEST(ZoneConstraint, OrderingIsByClockPairThenBound) {
  // Constraints on the same pair with different bounds are distinct elements.
  const std::set<Zone::Constraint> constraints = {{2, 1, 5},  {1, 2, 4}, {1, 2, -3},
                                                  {0, 2, -1}, {1, 2, 4}, {2, 0, 7}};
  const std::vector<Zone::Constraint> expected = {
      {0, 2, -1}, {1, 2, -3}, {1, 2, 4}, {2, 0, 7}, {2, 1, 5}};
  EXPECT_EQ(std::vector<Zone::Constraint>(constraints.begin(), constraints.end()), expected);
}

} // namespace
} // namespace orvela
