#include "symbolic/Allocator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace orvela {
namespace {

struct AllocatorDeleter {
  void operator()(Allocator* allocator) const { delete_allocator(allocator); }
};
using OwnedAllocator = std::unique_ptr<Allocator, AllocatorDeleter>;

ChunkAllocator* chunks(const OwnedAllocator& allocator) {
  return static_cast<ChunkAllocator*>(allocator.get());
}

TEST(ChunkAllocator, BlocksAreDistinctAlignedAndDoNotOverlap) {
  OwnedAllocator allocator(createChunkAllocator(20));
  std::vector<char*> blocks;
  for (int k = 0; k < 200; ++k) {
    auto* block = static_cast<char*>(allocator->allocate());
    ASSERT_EQ(reinterpret_cast<uintptr_t>(block) % 8, 0u);
    std::memset(block, k, 24); // the whole rounded block is usable
    blocks.push_back(block);
  }
  for (int k = 0; k < 200; ++k)
    for (int b = 0; b < 24; ++b)
      ASSERT_EQ(blocks[k][b], char(k)) << "block " << k << " overwritten";
  for (char* block : blocks)
    allocator->deallocate(block);
}

TEST(ChunkAllocator, FreedBlocksAreHandedOutAgainLastFreedFirst) {
  OwnedAllocator allocator(createChunkAllocator(40));
  std::vector<void*> blocks;
  for (int k = 0; k < 70; ++k)
    blocks.push_back(allocator->allocate());
  EXPECT_EQ(allocator->blocksOut(), 70u);
  for (int k = 0; k < 70; k += 2)
    allocator->deallocate(blocks[k]);
  EXPECT_EQ(allocator->blocksOut(), 35u);
  for (int k = 68; k >= 0; k -= 2)
    ASSERT_EQ(allocator->allocate(), blocks[k]) << "freed block " << k << " not reused in order";
  EXPECT_EQ(chunks(allocator)->chunkCount(), 2u); // 70 blocks: 32 + 64
  EXPECT_EQ(allocator->blocksOut(), 70u);
  void* fresh = allocator->allocate();
  EXPECT_EQ(std::count(blocks.begin(), blocks.end(), fresh), 0);
}

#if defined(__SANITIZE_ADDRESS__)
TEST(ChunkAllocatorDeathTest, UseOfAReturnedBlockIsReported) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  OwnedAllocator allocator(createChunkAllocator(32));
  auto* block = static_cast<volatile int*>(allocator->allocate());
  allocator->deallocate(const_cast<int*>(block));
  EXPECT_DEATH(block[3] = 1, "use-after-poison");
}
#endif

} // namespace
} // namespace orvela
