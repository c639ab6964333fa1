#include "support/CddTestSupport.h"

namespace cddtest {
namespace {

using CddGarbageCollectionTest = CddFixture;

TEST_F(CddGarbageCollectionTest, PressureKeepsLiveDiagramsIntact) {
  state().gcChunkLimit = 2; // collect whenever a manager runs dry
  std::mt19937 rng(99);
  std::vector<cdd> live;
  std::vector<CddNode*> nodes;
  std::vector<Point> points;
  for (int k = 0; k < 300; ++k)
    points.push_back(randomPoint(rng, 4, 6));
  std::vector<std::vector<bool>> values;
  for (int k = 0; k < 8; ++k) {
    cdd d = randomZone(rng, 4, 6).diagram(*lib) | randomZone(rng, 4, 6).diagram(*lib);
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
      t = (t ^ randomZone(rng, 4, 6).diagram(*lib)) - randomZone(rng, 4, 6).diagram(*lib);
    ASSERT_NE(t.get(), nullptr);
  }
  EXPECT_GE(state().gcCount, 3);
  for (std::size_t k = 0; k < live.size(); ++k) {
    EXPECT_EQ(live[k].get(), nodes[k]);
    for (std::size_t p = 0; p < points.size(); ++p)
      ASSERT_EQ(evalAt(live[k], points[p]), values[k][p]) << "diagram " << k;
  }
  live.clear();
  cdd_gbc(state());
  EXPECT_EQ(cdd_nodes_in_use(state()), 0u);
}

TEST_F(CddGarbageCollectionTest, OperandsWithoutReferencesSurviveACollectionInside) {
  state().collectOnEveryAllocation = true;
  std::mt19937 rng(3);
  for (int k = 0; k < 100; ++k) {
    Zone a = randomZone(rng, 4, 6), b = randomZone(rng, 4, 6);
    // The operands carry no reference: only the operation protects them.
    cdd held = lib->fromDbm(a.dbm());
    CddNode* x = held;
    CddNode* y = lib->fromDbm(b.dbm()).get();
    held = cddfalse;
    cdd sum = lib->apply(cddNot(x), cddNot(y), CddAnd);
    for (int m = 0; m < 20; ++m) {
      Point p = randomPoint(rng, 4, 6);
      ASSERT_EQ(evalAt(sum, p), !a.contains(p) && !b.contains(p));
    }
  }
  EXPECT_GT(state().gcCount, 300);
}

} // namespace
} // namespace cddtest
