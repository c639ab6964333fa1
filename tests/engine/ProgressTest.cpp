#include "engine/Progress.h"

#include "EngineProbes.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvela {
namespace {

using test::RecordingSink;

// A clock that only moves when the test says so.
timeval fakeNow{100, 0};
void fakeClock(timeval* now) { *now = fakeNow; }
void advance(long seconds, long microseconds) {
  fakeNow.tv_sec += seconds;
  fakeNow.tv_usec += microseconds;
  if (fakeNow.tv_usec >= 1000000) {
    fakeNow.tv_usec -= 1000000;
    ++fakeNow.tv_sec;
  }
}

class Waiting : public Buffer {
public:
  bool tryPut(void*) override { return true; }
  bool tryGet(void*) override { return false; }
  std::size_t getSize() const override { return size; }
  std::size_t size = 0;
};

class ProgressTest : public ::testing::Test {
protected:
  ProgressTest() : progress(out, &waiting, fakeClock) { progress.setSink(&sink); }
  void putItems(int n) {
    for (int k = 0; k < n; ++k)
      progress.tryPut(&item);
  }
  std::ostringstream out;
  Waiting waiting;
  RecordingSink sink;
  Progress progress;
  int item = 0;
};

/// The progress line for a rate and a waiting-list size.
std::string report(int rate, int load) {
  return "Throughput: " + std::to_string(rate) + " states/sec, Load: " + std::to_string(load) +
         " states                    \r";
}

TEST_F(ProgressTest, PassesItemsOnAndAnswersTheSinksAnswer) {
  EXPECT_TRUE(progress.tryPut(&item));
  sink.answer = false;
  EXPECT_FALSE(progress.tryPut(&item));
  EXPECT_EQ(sink.items, (std::vector<void*>{&item, &item}));
  EXPECT_EQ(progress.total(), 2u);
}

TEST_F(ProgressTest, FirstReportComesWithTheItemAfterTheThousandth) {
  advance(0, 500000);
  waiting.size = 7;
  putItems(1000);
  EXPECT_EQ(out.str(), "");
  putItems(1);
  EXPECT_EQ(out.str(), report(2000, 7));
  EXPECT_EQ(progress.threshold(), 2000u);

  // the next report is due once as many items as the last rate have passed
  out.str("");
  advance(3, 0);
  putItems(1999);
  EXPECT_EQ(out.str(), "");
  putItems(1);
  EXPECT_EQ(out.str(), report(666, 7));
}

TEST_F(ProgressTest, NoTimeElapsedWritesNothingAndASlowSearchReportsAgain) {
  putItems(1001); // the clock has not moved
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(progress.threshold(), 1000u);
  advance(1, 0);
  putItems(999);
  EXPECT_EQ(out.str(), "");
  putItems(1);
  EXPECT_EQ(out.str(), report(1000, 0));
  // A very slow search still reports again.
  out.str("");
  advance(5000, 0); // 1000 items in 5000 s: a rate of 0
  putItems(1000);
  EXPECT_EQ(out.str(), report(0, 0));
  out.str("");
  advance(1, 0);
  putItems(1);
  EXPECT_EQ(out.str(), report(1, 0));
}

TEST_F(ProgressTest, ResetAnswersTheSecondsSinceTheLastReport) {
  fakeNow = {10, 900000};
  progress.reset();
  fakeNow = {12, 100000};
  EXPECT_FLOAT_EQ(progress.reset(), 1.2f);
  EXPECT_FLOAT_EQ(progress.reset(), 0.0f);
}

} // namespace
} // namespace orvela
