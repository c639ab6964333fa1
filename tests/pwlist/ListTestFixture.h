#pragma once
// Helpers shared by the tests of the passed/waiting list variants: a small
// model of two processes, two compared integers and two clocks, states built
// from literal values, and short forms of put, get and read back.

#include "pwlist/PWListBase.h"
#include "pwlist/PWListFactories.h"
#include "support/StateFixtures.h"
#include "symbolic/GlobalStateReference.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace orvela::test {

class ListTest : public ::testing::Test {
protected:
  void SetUp() override { setUpModel(2, 2); }

  static StateShape shape() { return {2, 2, 2, 3}; }

  /// A state at locations (l0, 0) with integers (i0, 0) and x1 in [lo, hi].
  static OwnedState state(int l0, int i0, int lo, int hi) {
    OwnedState s = makeState({l0, 0}, {i0, 0});
    restrictClock(s.get(), 1, lo, hi);
    return s;
  }
  static unsigned keyHash(const GlobalState* s) {
    const int* v = const_cast<GlobalState*>(s)->getIntegerReference();
    return unsigned(s->getLocation(0) * 10 + v[0]);
  }
  static bool put(PWList& list, const OwnedState& s, bool store = true) {
    WaitingState offered{s.get(), store, keyHash(s.get())};
    return list.tryPut(&offered);
  }
  static GlobalStateReference* get(PWList& list) {
    GlobalStateReference* reference = nullptr;
    return list.tryGet(&reference) ? reference : nullptr;
  }
  /// The state a reference names, read back into a fresh state.
  static OwnedState read(GlobalStateReference* reference) {
    OwnedState s = makeState({0, 0}, {0, 0});
    reference->writeDiscreteTo(s.get());
    reference->writeSymbolicTo(s.get());
    return s;
  }
  /// The interval of x1 in a state, {lower, upper}.
  static std::pair<int, int> interval(const GlobalState* s) {
    const UnpackedRegion* zone = s->getUnpackedRegion();
    return {-(zone->get(0, 1) >> 1), zone->get(1, 0) >> 1};
  }
  /// Location 0, integer 0 and the interval of x1 of every stored state, in
  /// enumeration order.
  static std::vector<std::pair<int, std::pair<int, int>>> enumerate(const PWList& list) {
    std::vector<std::pair<int, std::pair<int, int>>> seen;
    Pointer<PureSource> states = list.enumStates();
    GlobalStateReference* reference;
    while (states->tryGet(&reference)) {
      EXPECT_TRUE(reference->getFlag());
      OwnedState s = read(reference);
      seen.emplace_back(s->getLocation(0) * 10 + s->getIntegerReference()[0], interval(s.get()));
    }
    return seen;
  }
  static std::string check(const PWList& list) {
    return static_cast<const PWListBase&>(list).checkConsistency();
  }
};

} // namespace orvela::test
