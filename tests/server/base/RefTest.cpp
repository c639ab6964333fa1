#include "server/base/Ref.h"

#include "server/base/PoolAnnotations.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace orvela {
namespace {

struct Record {
  static inline int live = 0;
  Record() { ++live; }
  ~Record() { --live; }
};

TEST(RefTest, SharedObjectIsDestroyedWithTheLastRef) {
  Record::live = 0;
  {
    Ref<Record> a(new Record);
    Ref<Record> b = a;
    EXPECT_EQ(a.useCount(), 2);
    Ref<Record> c;
    c = b;
    EXPECT_EQ(a.useCount(), 3);
    a = Ref<Record>();
    EXPECT_EQ(b.useCount(), 2);
    EXPECT_EQ(Record::live, 1);
  }
  EXPECT_EQ(Record::live, 0);
}

TEST(RefTest, SelfAssignmentChangesNothing) {
  Record::live = 0;
  Ref<Record> a(new Record);
  Ref<Record>& alias = a;
  a = alias;
  EXPECT_EQ(a.useCount(), 1);
  EXPECT_EQ(Record::live, 1);
}

TEST(RefTest, StringCopyIsIndependentOfItsSource) {
  char source[] = "P.x[2]";
  Ref<char> name = refString(source);
  source[0] = 'Q';
  EXPECT_STREQ(name.get(), "P.x[2]");
  Ref<char> shared = name;
  EXPECT_EQ(shared.get(), name.get());
}

TEST(RefTest, EmptyRefHoldsNoCounter) {
  Ref<Record> empty;
  Ref<Record> copy = empty;
  EXPECT_FALSE(copy);
  EXPECT_EQ(copy.useCount(), 0);
}

/// Takes counters until the free list is empty, so that the next one comes
/// from block space. Returns what it took, to be freed by the caller.
std::vector<int32_t*> drainFreeList() {
  std::vector<int32_t*> taken;
  while (RefCommon::freeList)
    taken.push_back(RefCommon::getCnt());
  return taken;
}

TEST(RefCommonTest, ReturnedCounterIsHandedOutFirst) {
  int32_t* counter = RefCommon::getCnt();
  EXPECT_EQ(*counter, 1);
  RefCommon::Block* block = RefCommon::cntBlocks;
  int32_t used = block->used;
  RefCommon::freeCnt(counter);
  int32_t* again = RefCommon::getCnt();
  EXPECT_EQ(again, counter);
  EXPECT_EQ(*again, 1);
  EXPECT_EQ(RefCommon::cntBlocks, block);
  EXPECT_EQ(RefCommon::cntBlocks->used, used);
  RefCommon::freeCnt(again);
}

TEST(RefCommonTest, FullBlockStartsANewOne) {
  std::vector<int32_t*> taken = drainFreeList();
  taken.push_back(RefCommon::getCnt()); // makes sure a block exists
  RefCommon::Block* block = RefCommon::cntBlocks;
  const int32_t left =
      (block->capacity - block->used) / static_cast<int32_t>(sizeof(RefCommon::Slot));
  for (int32_t i = 0; i < left; ++i)
    taken.push_back(RefCommon::getCnt());
  EXPECT_EQ(RefCommon::cntBlocks, block);
  EXPECT_EQ(block->used,
            RefCommon::countersPerBlock * static_cast<int32_t>(sizeof(RefCommon::Slot)));
  taken.push_back(RefCommon::getCnt());
  EXPECT_NE(RefCommon::cntBlocks, block);
  EXPECT_EQ(RefCommon::cntBlocks->previous, block);
  EXPECT_EQ(RefCommon::cntBlocks->used, static_cast<int32_t>(sizeof(RefCommon::Slot)));
  for (int32_t* counter : taken)
    RefCommon::freeCnt(counter);
}

#if defined(__SANITIZE_ADDRESS__)
TEST(RefCommonDeathTest, CountersNotHandedOutArePoisoned) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  RefCommon::getNewBlock();
  RefCommon::Slot* last = RefCommon::cntBlocks->slots() + RefCommon::countersPerBlock - 1;
  EXPECT_TRUE(poolBlockPoisoned(last)); // not carved yet
  int32_t* counter = RefCommon::getCnt();
  EXPECT_FALSE(poolBlockPoisoned(counter));
  RefCommon::freeCnt(counter);
  EXPECT_DEATH(*static_cast<volatile int32_t*>(counter) = 2, "use-after-poison");
}
#endif

} // namespace
} // namespace orvela
