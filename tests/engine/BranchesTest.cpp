#include "engine/Branches.h"

#include "EngineProbes.h"
#include "base/Exceptions.h"
#include "engine/Adapters.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::RecordingSink;

TEST(Repeater, FeedsEverySinkAndAnswersTrue) {
  Pointer<Filter> repeater = createRepeater();
  int x = 0;
  EXPECT_TRUE(repeater->tryPut(&x)); // no sinks
  RecordingSink no1(false), no2(false);
  repeater->setSink(&no1);
  repeater->setSink(&no2);
  EXPECT_TRUE(repeater->tryPut(&x));
  EXPECT_EQ(no1.items, std::vector<void*>{&x});
  EXPECT_EQ(no2.items, std::vector<void*>{&x});
}

TEST(Branch, TheConditionsAnswerChoosesTheBranchAndTheBranchAnswers) {
  RecordingSink condition(true), then(false), otherwise(true);
  Branch branch(condition, then, otherwise);
  int x = 0, y = 0;
  EXPECT_FALSE(branch.tryPut(&x)); // "then" refuses
  condition.answer = false;
  EXPECT_TRUE(branch.tryPut(&y));
  EXPECT_EQ(condition.items, (std::vector<void*>{&x, &y}));
  EXPECT_EQ(then.items, std::vector<void*>{&x});
  EXPECT_EQ(otherwise.items, std::vector<void*>{&y});
}

TEST(Adapters, AFunctionAnswersAsASinkAndTheNullSourceNeverHasAnItem) {
  std::vector<int> seen;
  Pointer<PureSink> sink = createFunctionToSinkAdapter([&seen](int* item) {
    seen.push_back(*item);
    return *item; // an int answered as a bool
  });
  int zero = 0, two = 2;
  EXPECT_FALSE(sink->tryPut(&zero));
  EXPECT_TRUE(sink->tryPut(&two));
  EXPECT_EQ(seen, (std::vector<int>{0, 2}));
  Pointer<PureSource> source = createNullSource();
  int* out = &zero;
  EXPECT_FALSE(source->tryGet(&out));
  EXPECT_EQ(out, &zero);
}

} // namespace
} // namespace orvela
