#include "engine/SearchWatch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

namespace orvela {
namespace {

/// Steps until `watch` stops; answers the steps taken before.
std::uint64_t stepUntilStopped(SearchWatch& watch, SearchLimitReached& caught) {
  std::uint64_t taken = 0;
  for (;;) {
    try {
      watch.step();
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
  const std::uint64_t taken = stepUntilStopped(watch, caught);
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
  EXPECT_EQ(stepUntilStopped(watch, caught), SearchWatch::firstInterval - 1);
  EXPECT_STREQ(caught.what(), "memory limit of 0.001 MiB reached");
  EXPECT_EQ(caught.explored, SearchWatch::firstInterval - 1);
  // A caller that goes on is stopped at once, and nothing more is counted.
  EXPECT_THROW(watch.step(), SearchLimitReached);
  EXPECT_EQ(watch.steps(), SearchWatch::firstInterval - 1);
}

TEST(SearchWatch, CountsEveryStepAndARestartStartsAfresh) {
  SearchWatch watch({0, 0.001});
  SearchLimitReached caught("");
  stepUntilStopped(watch, caught);
  // A new check under other limits is not stopped by the old one's.
  watch.start({3600, 0});
  for (int k = 0; k < 1000; ++k)
    watch.step();
  EXPECT_EQ(watch.steps(), 1000u);
  watch.start({3600, 0});
  for (int k = 0; k < 70; ++k)
    watch.step();
  EXPECT_EQ(watch.steps(), 70u);
}

} // namespace
} // namespace orvela
