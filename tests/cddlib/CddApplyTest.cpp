#include "support/CddTestSupport.h"

namespace cddtest {
namespace {

class CddApplyTest : public CddFixture {
protected:
  /// Unions of one to three random zones of 4 clocks.
  std::vector<cdd> randomUnions(int count) {
    std::vector<cdd> result;
    for (int k = 0; k < count; ++k) {
      cdd u = cddfalse;
      for (int m = std::uniform_int_distribution<int>(1, 3)(rng_); m > 0; --m)
        u = u | randomZone(rng_, 4, 6).diagram(*lib);
      result.push_back(u);
    }
    return result;
  }
  std::mt19937 rng_{20240607};
};

// Nodes are unique and canonical, so equal functions of the level values give
// the same pointer: these laws hold for the pointers themselves.
TEST_F(CddApplyTest, AlgebraicLawsHoldForTheNodesThemselves) {
  std::vector<cdd> d = randomUnions(24);
  for (std::size_t k = 0; k + 2 < d.size(); k += 3) {
    const cdd &a = d[k], &b = d[k + 1], &c = d[k + 2];
    EXPECT_EQ((a & b).get(), (b & a).get());
    EXPECT_EQ(((a & b) & c).get(), (a & (b & c)).get());
    EXPECT_EQ((!(a & b)).get(), ((!a) | (!b)).get());
    EXPECT_EQ((a & (b | c)).get(), ((a & b) | (a & c)).get());
    EXPECT_EQ((a ^ b).get(), ((a - b) | (b - a)).get());
    EXPECT_EQ(((!a) ^ b).get(), (!(a ^ b)).get());
    EXPECT_EQ(((a | b) - b).get(), (a - b).get());
    EXPECT_EQ((a & (a | b)).get(), a.get());
  }
}

TEST_F(CddApplyTest, TooManyIntervalsAreReportedAndTheLibraryGoesOn) {
  start(2, 5); // nodes of at most five elements: two intervals
  cdd pieces = cddfalse;
  for (int c : {1, 5}) {
    Zone z(2);
    z.constrain(1, 0, le(c)).constrain(0, 1, le(-(c - 1)));
    pieces = pieces | z.diagram(*lib);
  }
  ASSERT_NE(pieces.get(), nullptr);
  Zone third(2);
  third.constrain(1, 0, le(9)).constrain(0, 1, le(-8));
  testing::internal::CaptureStderr();
  cdd tooLarge = lib->apply(cddNot(pieces), cddNot(third.diagram(*lib)), CddAnd);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "CDD Error: -21\n");
  EXPECT_EQ(tooLarge.get(), nullptr);
  EXPECT_EQ(lib->takeError(), CddNodeTooLarge);
  EXPECT_EQ(state().stackTop, 0u);
  EXPECT_EQ(lib->apply(tooLarge, pieces, CddAnd).get(), nullptr); // no diagram in, none out
  cdd inside = pieces & third.diagram(*lib);
  EXPECT_EQ(inside.get(), cddfalse);
}

} // namespace
} // namespace cddtest
