#include "CddTestSupport.h"

#include <regex>

namespace cddtest {
namespace {

class CddNodeManagerTest : public CddFixture {
protected:
  void SetUp() override { start(2); }

  /// x1 <= k for k = 0 .. count-1: distinct three-element nodes on level 0.
  static std::vector<cdd> ladder(int count) {
    std::vector<cdd> result;
    for (int k = 0; k < count; ++k) {
      Zone z(2);
      z.constrain(1, 0, le(k));
      result.push_back(z.diagram());
    }
    return result;
  }

  static inline std::vector<CddRehashStat> seen;
  static void record(const CddRehashStat* stat) {
    seen.push_back(*stat);
    HeapWatch::afterRehash(stat);
  }
};

TEST_F(CddNodeManagerTest, GrowingTableStaysUniqueAndSorted) {
  seen.clear();
  cdd_postrehash_hook(record);
  std::vector<cdd> first = ladder(2100);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].level, 0);
  EXPECT_EQ(seen[0].buckets, 512);
  EXPECT_EQ(seen[0].keys, 1025);
  EXPECT_EQ(seen[0].maxKeys, 2048);
  EXPECT_EQ(seen[1].num, 2);
  EXPECT_EQ(seen[1].buckets, 1024);
  EXPECT_EQ(seen[1].keys, 2049);
  // Every node is found again after the rehashes.
  std::vector<cdd> second = ladder(2100);
  for (std::size_t k = 0; k < first.size(); ++k)
    ASSERT_EQ(first[k].get(), second[k].get()) << k;
  for (int k : {0, 700, 2099})
    EXPECT_TRUE(evalAt(first[std::size_t(k)], Point{0, 2 * k}));
}

TEST_F(CddNodeManagerTest, DefaultRehashReportOnStandardError) {
  cdd_done();
  ASSERT_EQ(cdd_init(64, 1000, 1000), 0);
  ASSERT_EQ(cdd_add_clocks(2), 0);
  testing::internal::CaptureStderr();
  std::vector<cdd> nodes = ladder(1025);
  std::string text = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(
      std::regex_match(text, std::regex("Rehash #1: level 0 / 512 buckets / 1025 keys / "
                                        "2048 max / [0-9]+\\.[0-9]s / [0-9]+\\.[0-9]s total\n")))
      << text;
}

TEST_F(CddNodeManagerTest, NodesFindTheirSizeThroughTheirAlignedChunk) {
  std::vector<cdd> pieces{cddfalse};
  for (int c : {1, 4, 7}) {
    Zone z(2);
    z.constrain(1, 0, le(c)).constrain(0, 1, le(1 - c));
    pieces.push_back(pieces.back() | z.diagram());
  }
  // One, two and three intervals: 3, 5 and 7 elements.
  for (std::size_t k = 1; k < pieces.size(); ++k) {
    CddNode* node = cddRegular(pieces[k]);
    EXPECT_EQ(cddElementCount(node), 2 * k + 1);
    for (CddChunk* chunk = cddManagerOf(node)->chunks(); chunk; chunk = chunk->next)
      EXPECT_EQ(reinterpret_cast<uintptr_t>(chunk) % cddChunkBytes, 0u);
  }
  EXPECT_EQ(cddChunksOut, 3u);
}

#if defined(__SANITIZE_ADDRESS__)
TEST_F(CddNodeManagerTest, ReclaimedNodesAreClosedToTheMemoryChecker) {
  Zone z(2);
  z.constrain(1, 0, lt(4));
  CddNode* node = cddRegular(z.diagram());
  cdd_gbc();
  ASSERT_EQ(cdd_nodes_in_use(), 0u);
  EXPECT_DEATH(
      {
        volatile uint32_t info = node->info;
        (void)info;
      },
      "use-after-poison");
}
#endif

} // namespace
} // namespace cddtest
