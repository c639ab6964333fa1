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

TEST(ChunkAllocator, BlockSizesRoundUpToEightBytes) {
  for (auto [asked, expected] : {std::pair{1, 8}, {4, 8}, {8, 8}, {12, 16}, {60, 64}, {64, 64}}) {
    OwnedAllocator allocator(createChunkAllocator(asked));
    EXPECT_EQ(chunks(allocator)->blockBytes(), std::size_t(expected)) << asked;
  }
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
  std::sort(blocks.begin(), blocks.end());
  for (std::size_t k = 1; k < blocks.size(); ++k)
    EXPECT_GE(blocks[k] - blocks[k - 1], 24);
  for (char* block : blocks)
    allocator->deallocate(block);
}

TEST(ChunkAllocator, ChunksDoubleUntilTheyReachTheWordLimit) {
  // 8192-word blocks: chunks of 32, 64 and 128 blocks; 128 blocks are
  // 1048576 words, so the chunks after that stay at 128.
  OwnedAllocator allocator(createChunkAllocator(8192 * 4));
  std::vector<std::size_t> chunkAfter;
  for (int k = 1; k <= 32 + 64 + 128 + 128 + 1; ++k) {
    allocator->allocate();
    chunkAfter.push_back(chunks(allocator)->chunkCount());
  }
  auto firstAllocationOfChunk = [&](std::size_t chunk) {
    return std::find(chunkAfter.begin(), chunkAfter.end(), chunk) - chunkAfter.begin() + 1;
  };
  EXPECT_EQ(firstAllocationOfChunk(1), 1);
  EXPECT_EQ(firstAllocationOfChunk(2), 33);
  EXPECT_EQ(firstAllocationOfChunk(3), 33 + 64);
  EXPECT_EQ(firstAllocationOfChunk(4), 33 + 64 + 128);
  EXPECT_EQ(firstAllocationOfChunk(5), 33 + 64 + 128 + 128);
  // The allocator frees every chunk, whatever is still out.
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

TEST(ChunkAllocator, EmptyBlocksShareOneAddress) {
  OwnedAllocator allocator(createChunkAllocator(0));
  void* a = allocator->allocate();
  void* b = allocator->allocate();
  EXPECT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  allocator->deallocate(a);
  allocator->deallocate(b);
  EXPECT_EQ(allocator->blocksOut(), 0u);
  EXPECT_EQ(chunks(allocator)->chunkCount(), 1u);
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
