#include "expr/ClockCopyReset.h"

#include "base/Exceptions.h"
#include "expr/Arrays.h"
#include "expr/BinaryExpressions.h"
#include "expr/ExpressionVisitor.h"
#include "expr/Range.h"
#include "support/StateFixtures.h"
#include "support/TestState.h"
#include "symbolic/RegionFixtures.h"
#include "symbolic/ZoneReference.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::constant;
using test::makeState;
using test::Matrix;
using test::matrixOf;
using test::OwnedState;
using test::TestState;
using test::ZoneGenerator;
using Clocks = std::set<int>;

// Element of a clock array whose clocks are 3, 4, 5, indexed by integer cell 0.
Pointer<Expression> clockElement() {
  return new Sum(constant(3), new Range(new Variable(0, 1, -9, 9), 1, 0, 2, 1));
}

/// d := s from the definition: forget everything about d, then make it
/// equal to s.
Matrix copiedByDefinition(Matrix z, unsigned s, unsigned d) {
  if (s == d)
    return z;
  for (unsigned k = 0; k < z.n; ++k) {
    if (k != d) {
      z.at(d, k) = test::inf;
      z.at(k, d) = test::inf;
    }
  }
  z.tighten(d, s, 1);
  z.tighten(s, d, 1);
  z.close();
  return z;
}

TEST(ClockCopyReset, DestinationTakesTheSourceBoundsOnRandomZones) {
  ZoneGenerator gen(61);
  for (int round = 0; round < 300; ++round) {
    const int clocks = gen.uniform(1, 6);
    const ModelTables model = test::setUpModel(clocks, 1);
    const unsigned n = unsigned(clocks + 1);
    const Matrix zone = gen.closedZone(n, 2 * clocks);
    OwnedState state = makeState(model, {0}, {0});
    test::load(state->getUnpackedRegion(), zone);
    const unsigned s = unsigned(gen.uniform(0, clocks));
    const unsigned d = unsigned(gen.uniform(1, clocks));
    int unused = -5;
    ClockCopyReset(constant(int(s)), constant(int(d))).evaluate(state.get(), &unused);
    ASSERT_EQ(matrixOf(state->getUnpackedRegion()).m, copiedByDefinition(zone, s, d).m)
        << "round " << round << ": " << s << " into " << d;
    EXPECT_EQ(unused, -5);
    EXPECT_TRUE(state->getUnpackedRegion()->isClosed());
  }
}

TEST(ClockCopyReset, OnlyASingleDestinationClockIsADefiniteReset) {
  const ModelTables model = test::setUpModel(6, 1);
  Clocks used, reset;
  ClockCopyReset(constant(2), constant(1)).regClockUse(nullptr, used, reset);
  EXPECT_EQ(used, Clocks{2});
  EXPECT_EQ(reset, Clocks{1});

  used.clear();
  reset.clear();
  // x[i] := y may reset any of three clocks, none of them definitely; y[i]
  // as a source may read each of them.
  ClockCopyReset(constant(6), clockElement()).regClockUse(nullptr, used, reset);
  EXPECT_TRUE(reset.empty());
  ClockCopyReset(clockElement(), constant(1)).regClockUse(nullptr, used, reset);
  EXPECT_EQ(used, (Clocks{3, 4, 5, 6}));
  EXPECT_EQ(reset, Clocks{1});
}

} // namespace
} // namespace orvela
