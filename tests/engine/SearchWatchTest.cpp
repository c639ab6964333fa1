#include "engine/SearchWatch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

namespace orvela {
namespace {

/// Steps until the installed watch stops; answers the steps taken before.
std::uint64_t stepUntilStopped(SearchLimitReached& caught) {
  std::uint64_t taken = 0;
  for (;;) {
    try {
      SearchWatch::step();
    } catch (const SearchLimitReached& stop) {
      caught = stop;
      return taken;
    }
    ++taken;
  }
}

TEST(SearchWatch, StopsAtTheFirstLookAfterTheTimeLimitWithTheStepsTaken) {
  const auto start = std::chrono::steady_clock::now();
  SearchWatch watch({0.02, 0});
  SearchLimitReached caught("");
  const std::uint64_t taken = stepUntilStopped(caught);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed.count(), 0.02);
  EXPECT_STREQ(caught.what(), "time limit of 0.02 s reached");
  // The step that threw handed nothing out.
  EXPECT_EQ(caught.explored, taken);
  EXPECT_EQ(watch.steps(), taken);
  EXPECT_EQ(caught.stored, 0u);
}

TEST(SearchWatch, AMemoryLimitBelowTheResidentMemoryStopsAtTheFirstLook) {
  SearchWatch watch({0, 0.001});
  SearchLimitReached caught("");
  EXPECT_EQ(stepUntilStopped(caught), SearchWatch::firstInterval - 1);
  EXPECT_STREQ(caught.what(), "memory limit of 0.001 MiB reached");
  EXPECT_EQ(caught.explored, SearchWatch::firstInterval - 1);
  // A caller that goes on is stopped at once, and nothing more is counted.
  EXPECT_THROW(SearchWatch::step(), SearchLimitReached);
  EXPECT_EQ(watch.steps(), SearchWatch::firstInterval - 1);
}

TEST(SearchWatch, CountsEveryStepAndRestoresTheWatchItReplaced) {
  EXPECT_EQ(SearchWatch::current(), nullptr);
  SearchWatch::step(); // no watch: nothing to count, nothing to stop
  {
    SearchWatch outer({3600, 0});
    for (int k = 0; k < 1000; ++k)
      SearchWatch::step();
    {
      SearchWatch inner({3600, 0});
      EXPECT_EQ(SearchWatch::current(), &inner);
      for (int k = 0; k < 70; ++k)
        SearchWatch::step();
      EXPECT_EQ(inner.steps(), 70u);
    }
    EXPECT_EQ(SearchWatch::current(), &outer);
    SearchWatch::step();
    EXPECT_EQ(outer.steps(), 1001u);
  }
  EXPECT_EQ(SearchWatch::current(), nullptr);
}

} // namespace
} // namespace orvela
