#pragma once
// Formulas and states for the property tests: a model with three clocks and
// two integers, states in the blocks of a chunk allocator, and the bounds of
// one clock read back from a zone.

#include "model/Constant.h"
#include "property/ClockExpr.h"
#include "property/TCTLExpression.h"
#include "support/StateFixtures.h"
#include "symbolic/Allocator.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace orvela::test {

inline Pointer<Expression> constant(int value) { return new Constant(value); }

/// x_k <= c (or < c).
inline Pointer<TCTLExpression> atMost(int k, int c, bool strict = false) {
  return new ClockExpr(constant(k), strict ? opLess : opLessEqual, constant(0), c);
}
/// x_k >= c (or > c).
inline Pointer<TCTLExpression> atLeast(int k, int c, bool strict = false) {
  return new ClockExpr(constant(k), strict ? opGreater : opGreaterEqual, constant(0), c);
}

/// The raw bounds (lower as stored in row 0, upper in column 0) of clock k.
inline std::pair<int32_t, int32_t> rawBounds(const GlobalState* state, unsigned k) {
  const UnpackedRegion* zone = state->getUnpackedRegion();
  return {zone->get(0, k), zone->get(k, 0)};
}
/// Raw bounds of l <= x <= u.
inline std::pair<int32_t, int32_t> closedInterval(int l, int u) { return {-2 * l + 1, 2 * u + 1}; }

/// A model of three clocks and two integers, a chunk allocator for unpacked
/// states of one process, and a heap state with x1 in [0, 10] to copy from.
class PropertyTest : public ::testing::Test {
protected:
  void SetUp() override {
    setUpModel(3, 2);
    allocator = createChunkAllocator(int(4 * GlobalState::sizeOfUnpacked(1, 2, 4)));
    prototype = makeState({0}, {0, 0});
    restrictClock(prototype.get(), 1, 0, 10);
  }
  void TearDown() override {
    for (GlobalState* state : list)
      returnState(state, allocator.get());
    EXPECT_EQ(allocator->blocksOut(), 0u) << "states not given back to the allocator";
  }

  /// A copy of the prototype in a block of the allocator, with x1 restricted
  /// to [low, high] and the given trace identifier.
  GlobalState* allocated(int low, int high, int traceId = -1) {
    GlobalState* state = prototype->unpackedCopy(allocator->allocate());
    restrictClock(state, 1, low, high);
    state->setTraceId(traceId);
    return state;
  }

  std::vector<std::pair<int32_t, int32_t>> bounds(const StateList& states, unsigned k = 1) const {
    std::vector<std::pair<int32_t, int32_t>> result;
    for (const GlobalState* state : states)
      result.push_back(rawBounds(state, k));
    return result;
  }

  Pointer<Allocator> allocator;
  OwnedState prototype;
  StateList list; ///< given back at the end of each test
};

} // namespace orvela::test
