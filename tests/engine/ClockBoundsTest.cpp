#include "engine/ClockBounds.h"
#include "model/System.h"
#include "support/ModelText.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

constexpr int32_t N = ClockBounds::none;
/// (L, U) of each clock but the reference clock, per location of a process.
using Table = std::vector<std::vector<std::pair<int32_t, int32_t>>>;

Table tableOf(const ClockBounds& bounds, const System& system, int process) {
  Table table;
  for (int l = 0; l < system.getProcess(process)->getLocationCount(); ++l) {
    table.emplace_back();
    for (unsigned k = 1; k < bounds.clocks(); ++k)
      table.back().emplace_back(bounds.lower(process, l, int(k)), bounds.upper(process, l, int(k)));
  }
  return table;
}

/// The bounds of `system` for a property whose constants are `property` (for
/// the first clocks; none for the others).
ClockBounds boundsOf(System& system, std::vector<int> property) {
  NormalisationInfo global(system.tables().clockCount());
  system.accept(global);
  property.resize(global.maxConst.size(), N);
  for (std::size_t k = 0; k < property.size(); ++k)
    global.maxConst[k] = std::max(global.maxConst[k], property[k]);
  return ClockBounds(system, global, property);
}

// Hand-derived tables, location by location (a, b, c), clock by clock.
TEST(ClockBounds, FollowsGuardsInvariantsResetsCopiesAndTheProperty) {
  const char* const guardsAndReset =
      "clock x, y;\nprocess P { state a {x <= 5}, b, c; init a; "
      "trans a -> b { guard y > 3; assign x := 0; }, b -> c { guard x >= 2, y < 7; }; }\n"
      "system P;";
  const std::tuple<const char*, std::vector<int>, Table> cases[] = {
      // b's guards stop at b for x (a resets it) and reach a for y.
      {guardsAndReset, {}, {{{N, 5}, {3, 7}}, {{2, N}, {N, 7}}, {{N, N}, {N, N}}}},
      // A property constant counts as both bounds in every location.
      {guardsAndReset, {0, 1}, {{{1, 5}, {3, 7}}, {{2, 1}, {N, 7}}, {{1, 1}, {N, N}}}},
      // x := y + 2 asks y for x's bounds at b less 2, and forgets x's.
      {"clock x, y;\nprocess P { state a, b; init a; trans a -> b { assign x := y + 2; }, "
       "b -> b { guard x <= 9, x > 4; }; }\nsystem P;",
       {},
       {{{N, N}, {2, 7}}, {{4, 9}, {N, N}}}},
  };
  for (const auto& [text, property, expected] : cases) {
    SCOPED_TRACE(text);
    Pointer<System> system = test::loadSystem(text);
    const ClockBounds bounds = boundsOf(*system, property);
    EXPECT_TRUE(bounds.usable());
    EXPECT_EQ(tableOf(bounds, *system, 0), expected);
  }
}

// Q reads d after P copied s into it: P's copy asks s for Q's bound on d, and
// a state takes the larger bound of its processes.
TEST(ClockBounds, ACopyIntoASharedClockCarriesTheOtherProcessesBounds) {
  Pointer<System> system = test::loadSystem(
      "clock s, d;\nprocess P { state a, b; init a; trans a -> b { assign d := s; }; }\n"
      "process Q { state q; init q; trans q -> q { guard d <= 6, s > 1; }; }\nsystem P, Q;");
  const ClockBounds bounds = boundsOf(*system, {});
  EXPECT_EQ(tableOf(bounds, *system, 0), (Table{{{N, 6}, {N, N}}, {{N, N}, {N, N}}}));
  const uint16_t locations[] = {0, 0};
  std::vector<int32_t> lower(3), upper(3);
  bounds.boundsOf(locations, lower.data(), upper.data());
  EXPECT_EQ(lower, (std::vector<int32_t>{0, 1, N}));
  EXPECT_EQ(upper, (std::vector<int32_t>{0, 6, 6}));
  EXPECT_EQ(bounds.globalUpper(), (std::vector<int32_t>{0, 6, 6}));
}

TEST(ClockBounds, ADifferenceConstraintMakesThemUnusable) {
  Pointer<System> system = test::loadSystem(
      "clock x, y;\nprocess P { state a; init a; trans a -> a { guard x <= y + 2; }; }\nsystem P;");
  EXPECT_FALSE(boundsOf(*system, {}).usable());
}

} // namespace
} // namespace orvela
