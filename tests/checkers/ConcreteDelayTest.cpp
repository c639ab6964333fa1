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

struct Case {
  const char* what;
  std::vector<Bound> lower, upper; ///< on clocks x (1) and y (2)
  std::vector<float> valuation;    ///< of the reference clock, x and y
  float delay;
};

TEST(CalculateDelay, ChoosesAValuationInsideTheZoneAndMovesTheClocks) {
  const Case cases[] = {
      {"inside stays", {{1, 1, false}}, {{1, 5, false}, {2, 10, false}}, {0, 2, 3}, 0.0f},
      {"strict lower bound passed by one unit", {{1, 2, true}}, {{1, 10, false}}, {0, 0, 1}, 3.0f},
      {"2 < x < 3: the middle", {{1, 2, true}}, {{1, 3, true}}, {0, 0, 0}, 2.5f},
      {"2 < x <= 3: the upper end", {{1, 2, true}}, {{1, 3, false}}, {0, 0, 0}, 3.0f},
      // x >= 5 and y > 4 are both 4 away, the strict one marks the tie; the
      // earliest upper bound y <= 6 leaves room: one unit past the lower end.
      {"latest lower, earliest upper",
       {{1, 5, false}, {2, 4, true}},
       {{1, 9, false}, {2, 6, false}},
       {0, 1, 0},
       5.0f},
      {"an interval of one unit", {{1, 5, false}, {2, 4, true}}, {{2, 5, true}}, {0, 1, 0}, 4.5f},
      {"the later non-strict lower bound", {{1, 5, false}, {2, 3, false}}, {}, {0, 1, 0}, 4.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    UnpackedRegion* zone = UnpackedRegion::create(3, true);
    for (const Bound& b : c.lower)
      EXPECT_TRUE(zone->tighten(0, int(b.clock), -b.value, b.strict));
    for (const Bound& b : c.upper)
      EXPECT_TRUE(zone->tighten(int(b.clock), 0, b.value, b.strict));
    zone->close();
    std::vector<float> valuation = c.valuation;
    EXPECT_EQ(calculateDelay(zone, valuation.data()), c.delay);
    Region::remove(zone);
    // Every clock but the reference one moves by the delay.
    EXPECT_EQ(valuation, (std::vector<float>{c.valuation[0], c.valuation[1] + c.delay,
                                             c.valuation[2] + c.delay}));
  }
}

} // namespace
} // namespace orvela
