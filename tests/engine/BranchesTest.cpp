#include "engine/Branches.h"

#include "EngineProbes.h"
#include "engine/Adapters.h"
#include "server/base/Exceptions.h"

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

TEST(NewIfThenElse, SinksAreConditionThenElseInOrderOfAttachmentAndAllThreeAreNeeded) {
  RecordingSink cond(true), then(true), otherwise(false);
  Pointer<Filter> branch = createNewIfThenElseFilter();
  branch->setSink(&cond);
  branch->setSink(&then);
  branch->setSink(&otherwise);
  int x = 0, y = 0;
  EXPECT_TRUE(branch->tryPut(&x));
  cond.answer = false;
  EXPECT_FALSE(branch->tryPut(&y));
  EXPECT_EQ(then.items, std::vector<void*>{&x});
  EXPECT_EQ(otherwise.items, std::vector<void*>{&y});
  EXPECT_THROW(branch->setSink(&cond), Bug);
  // An incomplete branch refuses items.
  RecordingSink unused;
  Pointer<Filter> incomplete = createNewIfThenElseFilter();
  incomplete->setSink(&unused);
  incomplete->setSink(&then);
  EXPECT_THROW(incomplete->tryPut(&x), Bug);
  EXPECT_TRUE(unused.items.empty());
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
