#include "engine/StopSinks.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace orvela
