#include "CddTestSupport.h"

#include <algorithm>

namespace cddtest {
namespace {

using CddLibraryTest = CddFixture;

cdd someZone(CddLibrary& library, int c) {
  Zone z(4);
  z.constrain(1, 0, le(c)).constrain(3, 2, lt(1));
  return z.diagram(library);
}

TEST_F(CddLibraryTest, HandlesCountTheirReferencesExactly) {
  cdd a = someZone(*lib, 2);
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
    c = someZone(*lib, 5); // the old diagram loses one reference
    EXPECT_EQ(node->ref(), 2u);
    cdd notA = !a; // same node, other flag
    EXPECT_EQ(node->ref(), 3u);
    EXPECT_EQ(notA.get(), cddNot(a));
    EXPECT_EQ(state().handles, 4u);
  }
  EXPECT_EQ(node->ref(), 1u);
  a = cddtrue;
  EXPECT_EQ(node->ref(), 0u);
  EXPECT_EQ(state().handles, 0u); // terminals hold no reference
}

// Two libraries side by side: each has its own nodes, collections and error
// record, and one may go while the other's diagrams stay intact.
TEST_F(CddLibraryTest, LibrariesShareNothing) {
  auto other = std::make_unique<CddLibrary>(4);
  std::mt19937 rng(1);
  std::vector<Zone> zones;
  cdd mine = cddfalse, theirs = cddfalse;
  for (int k = 0; k < 20; ++k) {
    zones.push_back(randomZone(rng, 4, 6));
    mine = mine | zones.back().diagram(*lib);
    theirs = theirs | zones.back().diagram(*other);
  }
  EXPECT_EQ(mine.library(), lib.get());
  EXPECT_EQ(theirs.library(), other.get());
  EXPECT_NE(cddRegular(mine), cddRegular(theirs));
  EXPECT_EQ(cddManagerOf(cddRegular(theirs))->elements(), cddElementCount(cddRegular(theirs)));
  cdd_gbc(other->state());
  EXPECT_EQ(state().gcCount, 0);

  Zone wide(5);
  testing::internal::CaptureStderr();
  EXPECT_EQ(other->fromDbm(wide.dbm()).get(), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "CDD Error: -3\n");
  EXPECT_EQ(lib->takeError(), 0);
  EXPECT_EQ(other->takeError(), CddBadDimension); // why the operation failed, once
  EXPECT_EQ(other->takeError(), 0);

  EXPECT_EQ(cdd_check_heap(other->state()), "");
  theirs = cddfalse;
  other.reset();
  for (int m = 0; m < 500; ++m) {
    const Point x = randomPoint(rng, 4, 6);
    const bool inside =
        std::any_of(zones.begin(), zones.end(), [&](const Zone& z) { return z.contains(x); });
    ASSERT_EQ(evalAt(mine, x), inside);
  }
}

TEST_F(CddLibraryTest, TerminalsCombineWithoutALibrary) {
  const cdd t = cddtrue, f = cddfalse, none = nullptr;
  EXPECT_EQ((t & f).get(), cddfalse);
  EXPECT_EQ((t & t).get(), cddtrue);
  EXPECT_EQ((t ^ f).get(), cddtrue);
  EXPECT_EQ((t ^ t).get(), cddfalse);
  EXPECT_EQ((f | t).get(), cddtrue);
  EXPECT_EQ((t - t).get(), cddfalse);
  EXPECT_EQ((!f).get(), cddtrue);
  EXPECT_EQ((t & none).get(), nullptr);
  const cdd zone = someZone(*lib, 3);
  EXPECT_EQ((f | zone).get(), zone.get()); // a terminal takes the other's library
  EXPECT_EQ((t - zone).get(), cddNot(zone));
}

#ifndef NDEBUG
TEST_F(CddLibraryTest, AHandleOutlivingItsLibraryIsCaught) {
  EXPECT_DEATH(
      {
        auto early = std::make_unique<CddLibrary>(4);
        cdd kept = someZone(*early, 3);
        early.reset();
      },
      "outlives its library");
}
#endif

} // namespace
} // namespace cddtest
