#include "EngineProbes.h"
#include "dbm/RawBound.h"
#include "engine/Adapters.h"
#include "engine/NormalisationFilter.h"
#include "expr/Constant.h"
#include "formula/ClockExpr.h"
#include "support/StateFixtures.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::loadSystem;
using test::MoveRecorder;
using Constraints = std::set<Zone::Constraint>;

constexpr int32_t lessEqual(int c) { return rawBound(c, false); }
constexpr int32_t less(int c) { return rawBound(c, true); }

/// x_i - x_j ≺ bound as the model's clock guards are built.
void visit(NormalisationInfo& info, int i, int j, int bound, bool strict) {
  ClockExpr constraint(new Constant(i), new Constant(j), new Constant(bound), strict);
  constraint.accept(info);
}

// The maximal constant of every clock and the difference constraints a model
// needs for its normalisation.
TEST(NormalisationInfo, GathersTheConstantsAndDifferenceConstraintsOfTheModel) {
  constexpr int unbounded = NormalisationInfo::unbounded;
  const std::tuple<const char*, const char*, std::vector<int>, Constraints> cases[] = {
      // x from the invariant (5) and the difference (2), y from the lower
      // bound; x - y <= 2 has no non-positive constant: no negation needed.
      {"clock x, y, z;",
       "state s0 {x < 5}, s1; init s0; trans s0 -> s1 { guard y > 3, x <= y + 2; }, "
       "s1 -> s0 { guard z >= 1; };",
       {5, 3, 1},
       {{1, 2, lessEqual(2)}}},
      // A zero difference is non-positive too: both sides are recorded.
      {"clock x, y;",
       "state s0; init s0; trans s0 -> s0 { guard x <= y; };",
       {0, 0},
       {{1, 2, lessEqual(0)}, {2, 1, less(0)}}},
      // A bound ranging over values records each value both ways.
      {"clock x, y; int [-1,1] k;",
       "state s0; init s0; trans s0 -> s0 { guard x < y + k; };",
       {1, 1},
       {{1, 2, less(-1)},
        {1, 2, less(0)},
        {1, 2, less(1)},
        {2, 1, lessEqual(-1)},
        {2, 1, lessEqual(0)},
        {2, 1, lessEqual(1)}}},
      // y is never compared itself, but x := y + 2 hands its value to x,
      // compared with 7: y matters up to 5. The copy is seen after the guard
      // on x, and the guard on z after the copy z := x.
      {"clock x, y, z;",
       "state s0, s1; init s0; trans s0 -> s1 { guard x <= 7; assign x := y + 2; }, "
       "s1 -> s0 { assign z := x; }, s1 -> s1 { guard z >= 9; };",
       {9, 7, 9},
       {}},
      // x - z <= 3 after x := y - 1 is y - z <= 4 before it.
      {"clock x, y, z;",
       "state s0, s1; init s0; trans s0 -> s1 { assign x := y - 1; }, "
       "s1 -> s0 { guard x <= z + 3; };",
       {3, 4, 0},
       {{1, 3, lessEqual(3)}, {2, 3, lessEqual(4)}}},
      // A clock shifted down is never widened.
      {"clock x, y;",
       "state s0; init s0; trans s0 -> s0 { guard x >= 2, y < 4; assign x := x - 1; };",
       {unbounded, 4},
       {}},
      // Copies in a cycle that raises the constants disable widening.
      {"clock x, y, z;",
       "state s0; init s0; trans s0 -> s0 { guard x <= 3, z < 1; assign y := x - 1; }, "
       "s0 -> s0 { assign x := y - 1; };",
       {unbounded, unbounded, unbounded},
       {}},
  };
  for (const auto& [declarations, process, constants, constraints] : cases) {
    SCOPED_TRACE(process);
    Pointer<System> system =
        loadSystem(std::string(declarations) + "\nprocess P { " + process + " }\nsystem P;");
    NormalisationInfo info(system->tables().clockCount());
    system->accept(info);
    // The reference clock's entry is of no use.
    EXPECT_EQ(std::vector<int>(info.maxConst.begin() + 1, info.maxConst.end()), constants);
    EXPECT_EQ(info.constraints, constraints);
  }
}

TEST(NormalisationInfo, APropertyAddsItsConstantsAndNegatesNonPositiveDifferences) {
  Pointer<System> system = loadSystem("clock x, y, z;\nprocess P { state s0 {x < 5}; init s0; }\n"
                                      "system P;");
  NormalisationInfo info(4), again(4);
  system->accept(info);
  system->accept(again);
  EXPECT_TRUE(info == again);
  visit(again, 3, 0, 7, false); // z <= 7
  EXPECT_TRUE(info != again);
  EXPECT_EQ(again.maxConst, (std::vector<int>{0, 5, 0, 7}));
  visit(again, 1, 2, -1, false); // x - y <= -1, that is y - x >= 1
  EXPECT_EQ(again.maxConst, (std::vector<int>{0, 5, 1, 7}));
  EXPECT_EQ(again.constraints, (Constraints{{2, 1, less(1)}}));
}

int32_t difference(const GlobalState& state) { return state.getUnpackedRegion()->get(1, 2); }
int32_t differenceBelow(const GlobalState& state) { return state.getUnpackedRegion()->get(2, 1); }

TEST(NormalisationFilter, SplitsByEveryConstraintBeforeWidening) {
  test::Model zones("clock x, y;\nprocess P { state s0; init s0; }\nsystem P;");
  // x and y in [0, 10], x - y in [0, 6].
  GlobalState* crossing = zones.state(0, 10);
  crossing->getUnpackedRegion()->free(2);
  test::restrictClock(crossing, 2, 0, 10);
  crossing->tighten(1, 2, lessEqual(6));
  crossing->tighten(2, 1, lessEqual(0));
  ASSERT_TRUE(crossing->ok());
  NormalisationInfo info;
  info.maxConst = {0, 20, 20};
  info.constraints = {{1, 2, lessEqual(2)}, {1, 2, lessEqual(4)}};
  Pointer<NormalisationFilter> filter = createNormalisationFilter(zones.system, zones.allocator);
  MoveRecorder recorder(zones.allocator.get());
  filter->setSink(&recorder);
  filter->setConstants(info);
  const Transition* none[] = {nullptr};
  SuccessorPair pair(crossing, none);
  EXPECT_TRUE(filter->tryPut(&pair));
  // Cut at 4 first (the last constraint), then the lower piece at 2.
  std::vector<std::pair<int32_t, int32_t>> pieces;
  for (const Pointer<GlobalState>& state : recorder.states)
    pieces.emplace_back(differenceBelow(*state), difference(*state));
  EXPECT_EQ(pieces,
            (std::vector<std::pair<int32_t, int32_t>>{
                {lessEqual(0), lessEqual(2)}, {less(-2), lessEqual(4)}, {less(-4), lessEqual(6)}}));
  EXPECT_EQ(zones.allocator->blocksOut(), 0u);
}

} // namespace
} // namespace orvela
