#include "checkers/QueryFilters.h"
#include "engine/Properties.h"
#include "model/Constant.h"
#include "property/ClockExpr.h"
#include "property/OrExpr.h"
#include "server/base/Exceptions.h"
#include "support/StateFixtures.h"
#include "symbolic/dbm/RawBound.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

/// Records the upper and lower bound of clock 1 of every state that reaches
/// it.
class BoundsSink final : public ItemSink<BoundsSink, GlobalState> {
public:
  bool put(GlobalState* state) {
    const UnpackedRegion& zone = *state->getUnpackedRegion();
    bounds.emplace_back(zone.get(0, 1), zone.get(1, 0));
    return true;
  }
  std::vector<std::pair<int32_t, int32_t>> bounds;
};

/// x op c on clock 1.
Pointer<TCTLExpression> clockTest(OpType op, int c) {
  return new ClockExpr(new Constant(1), op, new Constant(0), c);
}

class QueryFiltersTest : public ::testing::Test {
protected:
  QueryFiltersTest() {
    test::setUpModel(1, 0);
    test::OwnedState model = test::makeState({0}, {});
    blockBytes = int(4 * GlobalState::sizeOfUnpacked(1, 0, 2));
    allocator = createChunkAllocator(blockBytes);
    shape = std::move(model);
  }

  /// A block state with x in [low, high].
  GlobalState* state(int low, int high) {
    GlobalState* block = shape->unpackedCopy(allocator->allocate());
    test::restrictClock(block, 1, low, high);
    return block;
  }

  void configure(Filter& query, const Pointer<TCTLExpression>& expression) {
    setObjectProperty<TCTLExpression>(query, "expression", expression.get());
    setObjectProperty<Allocator>(query, "allocator", allocator.get());
    query.setSink(&sink);
  }

  int blockBytes = 0;
  Pointer<Allocator> allocator;
  test::OwnedState shape;
  BoundsSink sink;
};

TEST_F(QueryFiltersTest, AQueryPassesTheStatesWhereItHoldsNarrowedAndFreesEveryState) {
  Pointer<Filter> query = createQueryFilter();
  configure(*query, clockTest(opGreaterEqual, 4));
  EXPECT_TRUE(query->tryPut(state(0, 3)));
  EXPECT_TRUE(query->tryPut(state(2, 6)));
  EXPECT_EQ(sink.bounds,
            (std::vector<std::pair<int32_t, int32_t>>{{rawBound(-4, false), rawBound(6, false)}}));
  EXPECT_EQ(allocator->blocksOut(), 0u);
}

TEST_F(QueryFiltersTest, AMultiQueryPassesEveryPieceOfASplitState) {
  Pointer<Filter> query = createMultiQueryFilter();
  configure(*query, new OrExpr(clockTest(opLessEqual, 2), clockTest(opGreaterEqual, 5)));
  EXPECT_TRUE(query->tryPut(state(0, 10)));
  EXPECT_EQ(sink.bounds,
            (std::vector<std::pair<int32_t, int32_t>>{{rawBound(0, false), rawBound(2, false)},
                                                      {rawBound(-5, false), rawBound(10, false)}}));
  EXPECT_EQ(allocator->blocksOut(), 0u);
}

TEST_F(QueryFiltersTest, AQueryWithoutItsPropertiesIsRefused) {
  Pointer<Filter> query = createQueryFilter();
  query->setSink(&sink);
  GlobalState* block = state(0, 1);
  EXPECT_THROW(query->tryPut(block), Bug);
  allocator->deallocate(block);
}

TEST(CounterFilter, CountsWhatPassesThrough) {
  Pointer<Filter> counter = createCounterFilter();
  Pointer<Filter> inner = createCounterFilter();
  struct Refuse final : PureSink {
    bool tryPut(void*) override { return false; }
  } sink;
  counter->setSink(inner.get());
  inner->setSink(&sink);
  int item = 0;
  EXPECT_FALSE(counter->tryPut(&item));
  EXPECT_FALSE(counter->tryPut(&item));
  EXPECT_EQ(*static_cast<int*>(counter->getProperty("counter")), 2);
  EXPECT_EQ(*static_cast<int*>(inner->getProperty("counter")), 2);
  EXPECT_EQ(counter->getProperty("other"), nullptr);
}

} // namespace
} // namespace orvela
