#include "support/CddTestSupport.h"

#include "base/Exceptions.h"
#include "checkers/CDDDeadlockExpr.h"
#include "language/ParseSystem.h"
#include "support/StateFixtures.h"
#include "symbolic/UnpackedRegion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace orvela {
namespace {

using cddtest::gridPoints;
using cddtest::le;
using cddtest::lt;
using cddtest::Point;

/// x_i - x_j bounded by a raw bound.
struct Bound {
  unsigned i;
  unsigned j;
  int32_t raw;
};

/// Loads a model with its deadlock predicate; the zones to split are set up
/// by hand and compared point by point with the predicate's deadlocked part.
class DeadlockPredicate : public ::testing::Test {
protected:
  void load(const char* text) {
    std::string messages;
    system = parseSystem(text, &messages);
    ASSERT_TRUE(system) << messages;
    predicate = new CDDDeadlockExpr(system);
  }

  /// A heap state at `locations` whose zone is given by `bounds` (clocks
  /// non-negative otherwise).
  test::OwnedState state(const std::vector<int>& locations, const std::vector<Bound>& bounds) {
    test::OwnedState result(system->calcInitial());
    for (std::size_t k = 0; k < locations.size(); ++k)
      result->setLocation(unsigned(k), locations[k]);
    result->setRegion(UnpackedRegion::create(system->tables().clockCount(), true));
    for (const Bound& b : bounds)
      result->tighten(b.i, b.j, b.raw);
    EXPECT_TRUE(result->ok()) << "empty test zone";
    return result;
  }

  /// Whether the doubled point lies in the zone.
  static bool contains(const UnpackedRegion& zone, const Point& x) {
    for (unsigned i = 0; i < zone.getDim(); ++i)
      for (unsigned j = 0; j < zone.getDim(); ++j)
        if (zone.get(i, j) != INT_MAX && x[i] - x[j] >= zone.get(i, j))
          return false;
    return true;
  }

  Pointer<System> system;
  Pointer<CDDDeadlockExpr> predicate;
};

TEST_F(DeadlockPredicate, SplitsStatesIntoTheDeadlockedPiecesAndTheOthers) {
  load("clock x, y;\n"
       "process P { state a { x <= 10 }, b; init a;\n"
       "  trans a -> b { guard x >= 1, x <= 5; }, a -> b { guard y >= 8, y <= 9; }; }\n"
       "system P;");
  // Deadlocked: x > 5, and y > 9 or y < 8 with x - y > 2 (x reaches 10
  // before y reaches 8): two zones.
  Pointer<Allocator> allocator = createChunkAllocator(system->getSizeOfUnpackedState());
  const test::OwnedState s = state({0}, {{1, 0, le(10)}, {1, 2, le(3)}, {2, 1, le(3)}});
  const cdd part = predicate->deadlockedPart(*s);
  for (const Pointer<TCTLExpression>& formula :
       {Pointer<TCTLExpression>(predicate.get()), predicate->negate()}) {
    const bool negated = formula.get() != predicate.get();
    SCOPED_TRACE(negated ? "not deadlock" : "deadlock");
    StateList pieces{s->unpackedCopy(allocator->allocate())};
    formula->evaluateMulti(pieces, allocator.get());
    EXPECT_GT(pieces.size(), 1u);
    for (const Point& x : gridPoints(3, 12)) {
      const bool wanted =
          contains(*s->getUnpackedRegion(), x) && cddtest::evalAt(part, x) != negated;
      const auto holding = std::count_if(pieces.begin(), pieces.end(), [&](GlobalState* piece) {
        return contains(*piece->getUnpackedRegion(), x);
      });
      ASSERT_EQ(holding, wanted ? 1 : 0) << "x = " << x[1] / 2.0 << ", y = " << x[2] / 2.0;
    }
    // One zone cannot hold several pieces.
    test::OwnedState whole(s->unpackedCopy());
    EXPECT_THROW(formula->evaluate(whole.get()), Bug);
    for (GlobalState* piece : pieces)
      returnState(piece, allocator.get());
  }
  // A state all deadlocked stays whole for the predicate and goes for its
  // negation; in a state where one zone is deadlocked both restrict to it.
  const auto kept = [&](const Pointer<TCTLExpression>& formula, const test::OwnedState& t) {
    StateList list{t->unpackedCopy(allocator->allocate())};
    formula->evaluateMulti(list, allocator.get());
    const std::size_t size = list.size();
    for (GlobalState* piece : list)
      returnState(piece, allocator.get());
    return size;
  };
  const test::OwnedState late = state({0}, {{1, 0, le(10)}, {0, 1, lt(-5)}, {0, 2, lt(-9)}});
  EXPECT_EQ(kept(predicate.get(), late), 1u);
  EXPECT_EQ(kept(predicate->negate(), late), 0u);
  test::OwnedState early = state({0}, {{1, 0, le(10)}, {1, 2, le(3)}, {2, 1, le(-3)}});
  test::OwnedState rest(early->unpackedCopy());
  EXPECT_TRUE(predicate->evaluate(early.get()));
  EXPECT_TRUE(early->ok());
  EXPECT_EQ(early->getUnpackedRegion()->get(0, 1), lt(-5)) << "x > 5 only";
  EXPECT_TRUE(predicate->negate()->evaluate(rest.get()));
  EXPECT_TRUE(rest->ok());
  EXPECT_EQ(rest->getUnpackedRegion()->get(1, 0), le(5)) << "x <= 5 only";
  EXPECT_EQ(allocator->blocksOut(), 0u);
}

} // namespace
} // namespace orvela
