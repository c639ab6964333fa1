#include "engine/Branches.h"

#include "PipelineProbes.h"
#include "engine/Adapters.h"
#include "server/base/Exceptions.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::RecordingSink;

TEST(Repeater, FeedsEverySinkAndAnswersTrueWhateverTheyAnswer) {
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

TEST(TrueRepeater, StopsAtTheFirstRejectingSink) {
  Pointer<Filter> repeater = createTrueRepeater();
  int x = 0;
  EXPECT_TRUE(repeater->tryPut(&x)); // no sinks
  RecordingSink yes(true), no(false), never(true);
  repeater->setSink(&yes);
  EXPECT_TRUE(repeater->tryPut(&x));
  repeater->setSink(&no);
  repeater->setSink(&never);
  EXPECT_FALSE(repeater->tryPut(&x));
  EXPECT_EQ(yes.items.size(), 2u);
  EXPECT_EQ(no.items.size(), 1u);
  EXPECT_TRUE(never.items.empty());
}

TEST(IfThenElse, TheConditionsAnswerChoosesTheBranchAndTheBranchAnswers) {
  RecordingSink cond(true), then(false), otherwise(true);
  Pointer<PureSink> branch = createIfThenElseFilter(&cond, &then, &otherwise);
  int x = 0, y = 0;
  EXPECT_FALSE(branch->tryPut(&x)); // "then" rejects
  cond.answer = false;
  EXPECT_TRUE(branch->tryPut(&y));
  EXPECT_EQ(cond.items, (std::vector<void*>{&x, &y}));
  EXPECT_EQ(then.items, std::vector<void*>{&x});
  EXPECT_EQ(otherwise.items, std::vector<void*>{&y});
}

TEST(NewIfThenElse, SinksAreConditionThenElseInOrderOfAttachment) {
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
}

TEST(NewIfThenElse, AnIncompleteBranchRefusesItems) {
  RecordingSink cond, then;
  Pointer<Filter> branch = createNewIfThenElseFilter();
  branch->setSink(&cond);
  branch->setSink(&then);
  int x = 0;
  EXPECT_THROW(branch->tryPut(&x), Bug);
  EXPECT_TRUE(cond.items.empty());
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
