#include "CddTestSupport.h"

namespace cddtest {
namespace {

using CddLibraryTest = CddFixture;

cdd someZone(int c) {
  Zone z(4);
  z.constrain(1, 0, le(c)).constrain(3, 2, lt(1));
  return z.diagram();
}

TEST_F(CddLibraryTest, StartingTwiceIsReportedAndChangesNothing) {
  cdd kept = someZone(3);
  testing::internal::CaptureStderr();
  EXPECT_EQ(cdd_init(64, 10, 10), CddRunning);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "CDD Error: -5\n");
  EXPECT_FALSE(kept.detached());
  EXPECT_EQ(someZone(3).get(), kept.get());
}

TEST_F(CddLibraryTest, HandlesCountTheirReferencesExactly) {
  cdd a = someZone(2);
  CddNode* node = cddRegular(a);
  EXPECT_EQ(node->ref(), 1u);
  {
    cdd b = a, c;
    c = b;
    EXPECT_EQ(node->ref(), 3u);
    c = c; // self-assignment keeps the count
    EXPECT_EQ(node->ref(), 3u);
    cdd d = std::move(b);
    EXPECT_EQ(node->ref(), 3u);
    EXPECT_EQ(b.get(), cddfalse);
    c = someZone(5); // the old diagram loses one reference
    EXPECT_EQ(node->ref(), 2u);
    cdd notA = !a; // same node, other flag
    EXPECT_EQ(node->ref(), 3u);
    EXPECT_EQ(notA.get(), cddNot(a));
  }
  EXPECT_EQ(node->ref(), 1u);
  a = cddtrue;
  EXPECT_EQ(node->ref(), 0u);
}

TEST_F(CddLibraryTest, RestartDetachesHandlesWithoutTouchingNewNodes) {
  auto old = std::make_unique<cdd>(someZone(3));
  cdd top = cddtrue;
  cdd none = nullptr;
  cdd_done();
  EXPECT_EQ(cddChunksOut, 0u);
  EXPECT_TRUE(old->detached());
  EXPECT_EQ(old->get(), nullptr);
  EXPECT_EQ(top.get(), cddtrue); // terminals survive a restart
  EXPECT_EQ(none.get(), nullptr);

  start(4);
  // The new run may place nodes where the old ones were; releasing the old
  // handle must not touch them.
  cdd fresh = someZone(3);
  CddNode* node = cddRegular(fresh);
  EXPECT_EQ(node->ref(), 1u);
  cdd copy = *old;
  EXPECT_EQ(copy.get(), nullptr);
  old.reset();
  EXPECT_EQ(node->ref(), 1u);
  *(&copy) = fresh;
  EXPECT_EQ(node->ref(), 2u);
  EXPECT_EQ(cdd_apply(copy, cdd(nullptr), CddAnd), nullptr);
}

TEST_F(CddLibraryTest, RepeatedRestartsReturnEveryChunk) {
  std::mt19937 rng(1);
  std::vector<cdd> survivors;
  for (int run = 0; run < 20; ++run) {
    cdd_done();
    EXPECT_EQ(cddChunksOut, 0u);
    start(4);
    cdd u = cddfalse;
    for (int k = 0; k < 20; ++k)
      u = u | randomZone(rng, 4, 6).diagram();
    survivors.push_back(u);
    EXPECT_EQ(cdd_check_heap(), "");
  }
  for (std::size_t k = 0; k + 1 < survivors.size(); ++k)
    EXPECT_TRUE(survivors[k].detached());
  EXPECT_FALSE(survivors.back().detached());
}

TEST_F(CddLibraryTest, OperationsOutsideARunAreReported) {
  cdd_done();
  testing::internal::CaptureStderr();
  EXPECT_EQ(cdd_apply(cddtrue, cddfalse, CddAnd), nullptr);
  EXPECT_EQ(cdd_add_clocks(2), CddNotRunning);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "CDD Error: -2\nCDD Error: -2\n");
  EXPECT_EQ(cdd_take_error(), CddNotRunning); // why the operations failed, once
  EXPECT_EQ(cdd_take_error(), 0);
  start(4);
}

} // namespace
} // namespace cddtest
