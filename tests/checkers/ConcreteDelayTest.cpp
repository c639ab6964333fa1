#include "checkers/ConcreteDelay.h"

#include "symbolic/UnpackedRegion.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvela {
namespace {

struct Bound {
  unsigned clock;
  int value;
  bool strict;
};

// A closed zone over clocks x (1) and y (2) with the given lower and upper
// bounds, answered with the delay chosen from `valuation`.
float delayFrom(std::vector<float>& valuation, std::vector<Bound> lower, std::vector<Bound> upper) {
  UnpackedRegion* zone = UnpackedRegion::create(3, true);
  for (const Bound& b : lower)
    EXPECT_TRUE(zone->tighten(0, int(b.clock), -b.value, b.strict));
  for (const Bound& b : upper)
    EXPECT_TRUE(zone->tighten(int(b.clock), 0, b.value, b.strict));
  zone->close();
  const float delay = calculateDelay(zone, valuation.data());
  Region::remove(zone);
  return delay;
}

TEST(CalculateDelay, AValuationInsideTheZoneStaysWhereItIs) {
  std::vector<float> v{0, 2, 3};
  EXPECT_EQ(delayFrom(v, {{1, 1, false}}, {{1, 5, false}, {2, 10, false}}), 0.0f);
  EXPECT_EQ(v, (std::vector<float>{0, 2, 3}));
}

TEST(CalculateDelay, AStrictLowerBoundIsPassedByOneUnitWhenThereIsRoom) {
  std::vector<float> v{0, 0, 1};
  EXPECT_EQ(delayFrom(v, {{1, 2, true}}, {{1, 10, false}}), 3.0f);
  EXPECT_EQ(v, (std::vector<float>{0, 3, 4})); // the reference clock stays
}

TEST(CalculateDelay, ANarrowIntervalAfterAStrictLowerBound) {
  std::vector<float> v{0, 0, 0};
  // 2 < x < 3: the middle
  EXPECT_EQ(delayFrom(v, {{1, 2, true}}, {{1, 3, true}}), 2.5f);
  v = {0, 0, 0};
  // 2 < x <= 3: the upper end
  EXPECT_EQ(delayFrom(v, {{1, 2, true}}, {{1, 3, false}}), 3.0f);
}

TEST(CalculateDelay, TheLatestLowerBoundAndTheEarliestUpperBoundDecide) {
  // x >= 5 and y > 4 are both 4 away, and the strict one marks the tie;
  // x <= 9 is 8 away and y <= 6 is 6 away: one unit past the lower end
  std::vector<float> v{0, 1, 0};
  EXPECT_EQ(delayFrom(v, {{1, 5, false}, {2, 4, true}}, {{1, 9, false}, {2, 6, false}}), 5.0f);
  // y < 5 is 5 away, leaving an interval of one unit: its middle
  v = {0, 1, 0};
  EXPECT_EQ(delayFrom(v, {{1, 5, false}, {2, 4, true}}, {{2, 5, true}}), 4.5f);
  // x >= 5 (4 away) and y >= 3 (3 away), both non-strict: the later one
  v = {0, 1, 0};
  EXPECT_EQ(delayFrom(v, {{1, 5, false}, {2, 3, false}}, {}), 4.0f);
  EXPECT_EQ(v, (std::vector<float>{0, 5, 4}));
}

} // namespace
} // namespace orvela
