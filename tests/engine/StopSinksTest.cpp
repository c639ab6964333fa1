#include "engine/StopSinks.h"

#include "EngineProbes.h"
#include "support/StateFixtures.h"
#include "symbolic/PackedRegion.h"

#include <gtest/gtest.h>

#include <string>

namespace orvela {
namespace {

struct Checker {
  int stops = 0;
  void stop() { ++stops; }
};

TEST(TraceStopSink, KeepsTheLastPairAndStopsTheCheckerEachTime) {
  Checker checker;
  Pointer<TraceStopSink<Checker>> sink = new TraceStopSink<Checker>(&checker);
  EXPECT_FALSE(sink->found());
  EXPECT_EQ(sink->identifiers(), std::make_pair(-1, -1));
  std::pair<int, int> first{3, 8}, second{12, 20};
  EXPECT_TRUE(sink->tryPut(&first));
  EXPECT_TRUE(sink->tryPut(&second));
  second = {0, 0}; // the sink holds a copy
  EXPECT_TRUE(sink->found());
  EXPECT_EQ(sink->identifiers(), std::make_pair(12, 20));
  EXPECT_EQ(checker.stops, 2);
}

// Records the properties set on it.
class Target : public test::RecordingFilter {
public:
  void setProperty(const char* name, const void*) override { properties.push_back(name); }
  std::vector<std::string> properties;
};

TEST(StopSink, KeepsACopyOfTheLastGoalAndStopsItsTarget) {
  const ModelTables model = test::setUpModel(1, 1);
  Pointer<Target> target = new Target();
  Pointer<StopSink> sink = new StopSink(target.get());
  EXPECT_EQ(sink->state(), nullptr);
  {
    test::OwnedState goal = test::makeState(model, {2}, {7});
    test::restrictClock(goal.get(), 1, 3, 4);
    EXPECT_TRUE(sink->tryPut(goal.get()));
  } // the caller frees its state
  ASSERT_NE(sink->state(), nullptr);
  EXPECT_EQ(sink->state()->getLocation(0), 2);
  EXPECT_EQ(sink->state()->getIntegerReference()[0], 7);
  EXPECT_EQ(target->properties, std::vector<std::string>{"stop"});

  test::OwnedState later = test::makeState(model, {5}, {0});
  EXPECT_TRUE(sink->tryPut(later.get()));
  EXPECT_EQ(sink->state()->getLocation(0), 5);
  EXPECT_EQ(target->properties.size(), 2u);
}

TEST(DeallocationSink, ReturnsEveryBlockToItsAllocator) {
  Pointer<Allocator> allocator = createChunkAllocator(64);
  Pointer<PureSink> sink = createDeallocationSink(allocator);
  void* a = allocator->allocate();
  void* b = allocator->allocate();
  EXPECT_TRUE(sink->tryPut(a));
  EXPECT_EQ(allocator->blocksOut(), 1u);
  EXPECT_TRUE(sink->tryPut(b));
  EXPECT_EQ(allocator->blocksOut(), 0u);
}

} // namespace
} // namespace orvela
