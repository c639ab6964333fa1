#include "engine/CompoundFilter.h"

#include "EngineProbes.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::LiveCount;
using test::RecordingFilter;
using test::RecordingSink;

// The smallest concrete compound: items go to its head.
class Chain : public CompoundFilter {
public:
  bool tryPut(void* item) override { return head->tryPut(item); }
  Sink* head = nullptr;
};

std::vector<Sink*> sinksOf(std::initializer_list<Sink*> sinks) { return sinks; }

TEST(CompoundFilterChain, LinksThePresentStagesInOrderAndAnswersTheFirst) {
  RecordingFilter f[4];
  EXPECT_EQ(CompoundFilter::chain({nullptr, &f[0], nullptr, &f[1], &f[2], nullptr}), &f[0]);
  EXPECT_EQ(f[0].sinks, sinksOf({&f[1]}));
  EXPECT_EQ(f[1].sinks, sinksOf({&f[2]}));
  EXPECT_TRUE(f[2].sinks.empty());
  EXPECT_EQ(CompoundFilter::chain({&f[3]}), &f[3]);
  EXPECT_TRUE(f[3].sinks.empty());
}

TEST(CompoundFilterMembers, KeepHoldsMembersUntilResetOrDestruction) {
  const int before = LiveCount::live;
  RecordingFilter* inner;
  {
    Chain chain;
    inner = chain.keep(new RecordingFilter());
    chain.keep(new RecordingSink());
    EXPECT_EQ(LiveCount::live, before + 2);
    EXPECT_EQ(inner->referenceCount(), 1);
    chain.reset();
    EXPECT_EQ(LiveCount::live, before);
    EXPECT_EQ(chain.keptCount(), 0u);
    chain.keep(new RecordingSink());
    EXPECT_EQ(LiveCount::live, before + 1);
  }
  EXPECT_EQ(LiveCount::live, before);

  // a member held elsewhere too survives the compound
  Pointer<RecordingFilter> shared = new RecordingFilter();
  {
    Chain chain;
    chain.keep(shared.get());
    EXPECT_EQ(shared->referenceCount(), 2);
  }
  EXPECT_EQ(shared->referenceCount(), 1);
}

TEST(CompoundFilterMembers, SetSinkGoesToTheFinalElementUntilReset) {
  Chain chain;
  RecordingSink out;
  chain.setSink(&out); // no final element yet: nothing happens
  Pointer<RecordingFilter> last = chain.keep(new RecordingFilter());
  chain.setFinal(last.get());
  chain.setSink(&out);
  EXPECT_EQ(last->sinks, sinksOf({&out}));
  chain.reset();
  chain.setSink(&out); // the final element went with the reset
  EXPECT_EQ(last->sinks, sinksOf({&out}));
}

} // namespace
} // namespace orvela
