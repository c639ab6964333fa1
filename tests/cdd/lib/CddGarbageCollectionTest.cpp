#include "CddTestSupport.h"

#include <regex>

namespace cddtest {
namespace {

using CddGarbageCollectionTest = CddFixture;

TEST_F(CddGarbageCollectionTest, PressureKeepsLiveDiagramsIntact) {
  cddLib.gcChunkLimit = 2; // collect whenever a manager runs dry
  std::mt19937 rng(99);
  std::vector<cdd> live;
  std::vector<CddNode*> nodes;
  std::vector<Point> points;
  for (int k = 0; k < 300; ++k)
    points.push_back(randomPoint(rng, 4, 6));
  std::vector<std::vector<bool>> values;
  for (int k = 0; k < 8; ++k) {
    cdd d = randomZone(rng, 4, 6).diagram() | randomZone(rng, 4, 6).diagram();
    live.push_back(d);
    nodes.push_back(d);
    values.emplace_back();
    for (const Point& x : points)
      values.back().push_back(evalAt(d, x));
  }
  // Many temporaries: each combination is dropped at once, and every
  // collection happens in the middle of an operation.
  for (int k = 0; k < 3000; ++k) {
    cdd t = live[std::size_t(k) % live.size()];
    for (int m = 0; m < 3; ++m)
      t = (t ^ randomZone(rng, 4, 6).diagram()) - randomZone(rng, 4, 6).diagram();
    ASSERT_NE(t.get(), nullptr);
  }
  EXPECT_GE(HeapWatch::collections, 3);
  for (std::size_t k = 0; k < live.size(); ++k) {
    EXPECT_EQ(live[k].get(), nodes[k]);
    for (std::size_t p = 0; p < points.size(); ++p)
      ASSERT_EQ(evalAt(live[k], points[p]), values[k][p]) << "diagram " << k;
  }
  live.clear();
  cdd_gbc();
  EXPECT_EQ(cdd_nodes_in_use(), 0u);
}

TEST_F(CddGarbageCollectionTest, OperandsWithoutReferencesSurviveACollectionInside) {
  cddLib.collectOnEveryAllocation = true;
  std::mt19937 rng(3);
  for (int k = 0; k < 100; ++k) {
    Zone a = randomZone(rng, 4, 6), b = randomZone(rng, 4, 6);
    // The operands carry no reference: only the operation protects them.
    cdd held = cdd_from_dbm(a.dbm());
    CddNode* x = held;
    CddNode* y = cdd_from_dbm(b.dbm());
    held = cddfalse;
    cdd sum = cdd_apply(cddNot(x), cddNot(y), CddAnd);
    for (int m = 0; m < 20; ++m) {
      Point p = randomPoint(rng, 4, 6);
      ASSERT_EQ(evalAt(sum, p), !a.contains(p) && !b.contains(p));
    }
  }
  EXPECT_GT(HeapWatch::collections, 300);
}

TEST_F(CddGarbageCollectionTest, SaturatedCountsPinTheirNodes) {
  Zone z(4);
  z.constrain(1, 0, le(4)).constrain(2, 1, lt(2));
  CddNode* node = cddRegular(z.diagram());
  {
    std::vector<cdd> many(1100, cdd(node));
    EXPECT_EQ(node->ref(), cddRefMax);
  }
  EXPECT_EQ(node->ref(), cddRefMax); // never decremented again
  cdd_gbc();
  EXPECT_GT(cdd_nodes_in_use(), 0u);
  EXPECT_EQ(z.diagram().get(), node); // still the unique node
  Zone other(4);
  other.constrain(3, 0, le(1));
  { cdd temporary = other.diagram(); }
  std::size_t pinned = cdd_nodes_in_use();
  cdd_gbc();
  EXPECT_LT(cdd_nodes_in_use(), pinned);
}

TEST_F(CddGarbageCollectionTest, DeadNodesAreRevivedByTheUniqueTable) {
  Zone z(4);
  z.constrain(1, 0, le(2)).constrain(3, 2, le(0));
  CddNode* first = z.diagram(); // the handle is gone: count 0, not collected
  EXPECT_EQ(cddRegular(first)->ref(), 0u);
  cdd again = z.diagram();
  EXPECT_EQ(again.get(), first);
  cdd_gbc();
  for (const Point& x : gridPoints(3, 4)) {
    Point y{x[0], x[1], x[2], x[2]};
    ASSERT_EQ(evalAt(again, y), z.contains(y));
  }
  std::size_t used = cdd_nodes_in_use();
  again = cddfalse;
  cdd_gbc();
  EXPECT_EQ(cdd_nodes_in_use(), 0u);
  EXPECT_GT(used, 0u);
}

TEST_F(CddGarbageCollectionTest, DefaultHandlerReportsOnStandardError) {
  cdd_postgbc_hook(nullptr);
  testing::internal::CaptureStderr();
  cdd_gbc();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  CddGbcHandler none = cdd_postgbc_hook(HeapWatch::afterCollection);
  EXPECT_EQ(none, nullptr);
  cdd_done();
  ASSERT_EQ(cdd_init(64, 100, 100), 0); // installs the default handlers again
  ASSERT_EQ(cdd_add_clocks(2), 0);
  Zone z(2);
  z.constrain(1, 0, le(5));
  cdd keep = z.diagram();
  testing::internal::CaptureStderr();
  cdd_gbc();
  cdd_gbc();
  std::string text = testing::internal::GetCapturedStderr();
  std::string line = " [0-9]+ nodes / [0-9]+ free / [0-9]+\\.[0-9]s / [0-9]+\\.[0-9]s total\n";
  EXPECT_TRUE(std::regex_match(
      text, std::regex("Garbage collection #1:" + line + "Garbage collection #2:" + line)))
      << text;
  EXPECT_NE(text.find("1023 nodes / 1022 free"), std::string::npos) << text;
}

} // namespace
} // namespace cddtest
