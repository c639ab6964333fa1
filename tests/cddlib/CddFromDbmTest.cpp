#include "support/CddTestSupport.h"

namespace cddtest {
namespace {

using CddFromDbmTest = CddFixture;

TEST_F(CddFromDbmTest, DiagramHoldsExactlyThePointsOfTheZone) {
  std::mt19937 rng(7);
  std::vector<Point> grid = gridPoints(3, 5);
  for (int k = 0; k < 40; ++k) {
    Zone z = randomZone(rng, 3, 5, 4);
    cdd d = z.diagram(*lib);
    for (const Point& x : grid)
      ASSERT_EQ(evalAt(d, x), z.contains(x)) << "zone " << k;
  }
  for (int k = 0; k < 40; ++k) {
    Zone z = randomZone(rng, 4, 6, 5);
    cdd d = z.diagram(*lib);
    for (int m = 0; m < 500; ++m) {
      Point x = randomPoint(rng, 4, 6);
      ASSERT_EQ(evalAt(d, x), z.contains(x)) << "zone " << k;
    }
  }
}

TEST_F(CddFromDbmTest, EmptyZoneIsFalseAndTooManyClocksAnError) {
  Zone empty(3);
  empty.constrain(1, 0, le(2)).constrain(0, 1, lt(-2));
  EXPECT_EQ(lib->fromDbm(empty.dbm()).get(), cddfalse);
  Zone all(4);
  EXPECT_EQ(evalAt(all.diagram(*lib), Point{0, 0, 5, 9}), true);
  EXPECT_EQ(evalAt(all.diagram(*lib), Point{0, -1, 5, 9}), false); // clocks are non-negative
  Zone wide(5);
  testing::internal::CaptureStderr();
  EXPECT_EQ(lib->fromDbm(wide.dbm()).get(), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "CDD Error: -3\n");
  EXPECT_EQ(lib->takeError(), CddBadDimension);
}

} // namespace
} // namespace cddtest
