#include "analysis/MinMaxFilter.h"
#include "engine/Properties.h"
#include "support/SearchHarness.h"
#include "support/StateFixtures.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::Search;
using Bounds = std::vector<std::pair<int, int>>;
using PLV = MinMaxFilter::PLV;
constexpr std::pair<int, int> nothing = MinMaxFilter::nothingSeen;

/// The (minimum, maximum) pairs of a collector, in its order.
Bounds boundsOf(const MinMaxFilter& collector) {
  Bounds bounds;
  for (const MinMaxFilter::Watch& entry : collector.watches())
    bounds.push_back(entry.second);
  return bounds;
}

/// Counts the states passed on and keeps the allocator it was given.
class CountingSink final : public ItemSink<CountingSink, GlobalState> {
public:
  bool put(GlobalState*) {
    ++count;
    return true;
  }
  void setProperty(const char* name, const void* value) override {
    if (isProperty(name, "allocator"))
      allocator = propertyObject<Allocator>(value);
  }
  int count = 0;
  Allocator* allocator = nullptr;
};

TEST(IntegerMinMaxFilter, WatchesVariablesWhereTheLocationConditionHolds) {
  const ModelTables model = test::setUpModel(0, 2);
  // Any location; process 1 in location 2; a process and variables the
  // states do not have (the first beyond the end, one far beyond).
  IntegerMinMaxFilter collector({{-1, 0, 0}, {1, 2, 1}, {7, 0, 0}, {-1, 0, 2}, {-1, 0, 9}});
  Pointer<Allocator> allocator = createChunkAllocator(64);
  setObjectProperty<Allocator>(collector, "allocator", allocator.get());
  CountingSink sink;
  collector.setSink(&sink);
  EXPECT_EQ(sink.allocator, allocator.get());

  // Entries are kept in the reverse order of the items.
  EXPECT_EQ(boundsOf(collector), Bounds(5, nothing));
  for (const auto& [locations, values] : std::vector<std::pair<std::vector<int>, std::vector<int>>>{
           {{0, 2}, {5, -3}}, {{0, 1}, {-4, 8}}, {{1, 2}, {2, 6}}}) {
    test::OwnedState state = test::makeState(model, locations, values);
    EXPECT_TRUE(collector.tryPut(state.get()));
  }
  EXPECT_EQ(sink.count, 3);
  EXPECT_EQ(boundsOf(collector), (Bounds{nothing, nothing, nothing, {-3, 6}, {-4, 5}}));
}

TEST(ClockMinMaxFilter, WatchesTheRangeOfAClockWithStrictnessIgnored) {
  const ModelTables model = test::setUpModel(2, 0);
  ClockMinMaxFilter collector({{-1, 0, 1}, {-1, 0, 2}});
  CountingSink sink;
  collector.setSink(&sink);
  test::OwnedState state = test::makeState(model, {0}, {});
  state->tighten(0, 1, rawBound(-2, true)); // x1 > 2
  state->tighten(1, 0, rawBound(5, true));  // x1 < 5
  ASSERT_TRUE(state->ok());
  EXPECT_TRUE(collector.tryPut(state.get()));
  // x2 is unbounded: its maximum is the constant of "no bound".
  EXPECT_EQ(boundsOf(collector), (Bounds{{0, 1073741823}, {2, 5}}));
}

TEST(Collectors, BothCollectorsSeeEveryStateOfASearch) {
  Search search("int [0,3] n := 0;\n"
                "process P { clock x; state s0 {x <= 4}, s1; init s0; trans "
                "s0 -> s1 { guard x >= 1, n < 3; assign n := n + 1; }, "
                "s1 -> s0 { assign x := 0; }; }\n"
                "system P;");
  // Clock x anywhere and in s1; n anywhere and in s1.
  Pointer<ClockMinMaxFilter> clocks = new ClockMinMaxFilter({{0, 1, 1}, {-1, 0, 1}});
  Pointer<IntegerMinMaxFilter> integers = new IntegerMinMaxFilter({{0, 1, 0}, {-1, 0, 0}});
  EXPECT_FALSE(search.reach(Search::both(search.at("P", "s0"), search.at("P", "s1")),
                            {clocks.get(), integers.get()}));
  // s0 with x in [0, 4] and n from 0 to 3; s1 with x >= 1 and n from 1 to 3.
  EXPECT_EQ(boundsOf(*clocks), (Bounds{{0, 1073741823}, {1, 1073741823}}));
  EXPECT_EQ(boundsOf(*integers), (Bounds{{0, 3}, {1, 3}}));
  // The states went on to the query, which returned them.
  EXPECT_EQ(search.stateSpace->allocator()->blocksOut(), 2u);
}

} // namespace
} // namespace orvela
