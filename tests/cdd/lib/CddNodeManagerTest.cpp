#include "CddTestSupport.h"

namespace cddtest {
namespace {

class CddNodeManagerTest : public CddFixture {
protected:
  void SetUp() override { start(2); }

  /// x1 <= k for k = 0 .. count-1: distinct three-element nodes on level 0.
  std::vector<cdd> ladder(int count) {
    std::vector<cdd> result;
    for (int k = 0; k < count; ++k) {
      Zone z(2);
      z.constrain(1, 0, le(k));
      result.push_back(z.diagram(*lib));
    }
    return result;
  }
};

TEST_F(CddNodeManagerTest, GrowingTableStaysUniqueAndSorted) {
  std::vector<cdd> first = ladder(2100);
  // Rehashed at 1025 and 2049 keys: 256 buckets doubled twice.
  const CddSubtable& table = state().managers[3]->subtables()[0];
  EXPECT_EQ(table.buckets.size(), 1024u);
  EXPECT_EQ(table.keys, 2100u);
  EXPECT_EQ(table.maxKeys, 4096u);
  EXPECT_EQ(cdd_check_heap(state()), "");
  // Every node is found again after the rehashes.
  std::vector<cdd> second = ladder(2100);
  for (std::size_t k = 0; k < first.size(); ++k)
    ASSERT_EQ(first[k].get(), second[k].get()) << k;
  for (int k : {0, 700, 2099})
    EXPECT_TRUE(evalAt(first[std::size_t(k)], Point{0, 2 * k}));
}

TEST_F(CddNodeManagerTest, NodesFindTheirSizeThroughTheirAlignedChunk) {
  std::vector<cdd> pieces{cddfalse};
  for (int c : {1, 4, 7}) {
    Zone z(2);
    z.constrain(1, 0, le(c)).constrain(0, 1, le(1 - c));
    pieces.push_back(pieces.back() | z.diagram(*lib));
  }
  // One, two and three intervals: 3, 5 and 7 elements.
  for (std::size_t k = 1; k < pieces.size(); ++k) {
    CddNode* node = cddRegular(pieces[k]);
    EXPECT_EQ(cddElementCount(node), 2 * k + 1);
    for (CddChunk* chunk = cddManagerOf(node)->chunks(); chunk; chunk = chunk->next)
      EXPECT_EQ(reinterpret_cast<uintptr_t>(chunk) % cddChunkBytes, 0u);
  }
  EXPECT_EQ(state().chunksOut, 3u);
}

#if defined(__SANITIZE_ADDRESS__)
TEST_F(CddNodeManagerTest, ReclaimedNodesAreClosedToTheMemoryChecker) {
  Zone z(2);
  z.constrain(1, 0, lt(4));
  CddNode* node = cddRegular(z.diagram(*lib));
  cdd_gbc(state());
  ASSERT_EQ(cdd_nodes_in_use(state()), 0u);
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
