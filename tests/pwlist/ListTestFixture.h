#pragma once
// Helpers shared by the tests of the passed/waiting list variants: a small
// model of two processes, two compared integers and two clocks, states built
// from literal values, and short forms of put, get and read back.

#include "pwlist/PWListBase.h"
#include "pwlist/PWListFactories.h"
#include "support/StateFixtures.h"
#include "symbolic/GlobalStateReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

namespace orvela::test {

class ListTest : public ::testing::Test {
public:
  static inline const ModelTables model = setUpModel(2, 2);

  static StateShape shape() { return {2, 2, 2, 3}; }

  /// A state at locations (l0, 0) with integers (i0, 0) and x1 in [lo, hi].
  static OwnedState state(int l0, int i0, int lo, int hi) {
    OwnedState s = makeState(model, {l0, 0}, {i0, 0});
    restrictClock(s.get(), 1, lo, hi);
    return s;
  }
  static unsigned keyHash(const GlobalState* s) {
    const int* v = const_cast<GlobalState*>(s)->getIntegerReference();
    return unsigned(s->getLocation(0) * 1000 + s->getLocation(1) * 100 + v[0] * 10 + v[1]);
  }
  /// Offers `s` with a hash of its discrete part.
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
    OwnedState s = makeState(model, {0, 0}, {0, 0});
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

  /// Random puts, gets and releases (as a search releases) on `list`, whose
  /// waiting order is a queue or a stack, against a brute-force model of a
  /// list that keeps every state no stored state includes and drops the
  /// stored states a new one includes. States are (key, box over x1 and x2),
  /// so that zones carry difference constraints; a few upper bounds go beyond
  /// 16 bits. The chains are checked after every step. Answers the number of
  /// explored states the model keeps. Fixed seed.
  static void runAgainstModel(PWList& list, bool queue, unsigned seed, std::size_t& passed) {
    struct Box {
      int lo1, hi1, lo2, hi2;
      bool includes(const Box& o) const {
        return lo1 <= o.lo1 && o.hi1 <= hi1 && lo2 <= o.lo2 && o.hi2 <= hi2;
      }
    };
    struct Entry {
      int key;
      Box box;
      bool waiting, store;
    };
    std::vector<Entry> model; // in insertion order
    std::mt19937 random(seed);
    auto draw = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    GlobalStateReference* held = nullptr;
    std::size_t heldIndex = 0;
    for (int step = 0; step < 3000; ++step) {
      const int op = draw(10);
      if (op < 6) {
        Entry e{draw(6), {}, true, draw(4) != 0};
        e.box.lo1 = draw(4);
        e.box.hi1 = e.box.lo1 + draw(4) + (step > 1500 && draw(100) == 0 ? 20000 : 0);
        e.box.lo2 = draw(4);
        e.box.hi2 = e.box.lo2 + draw(4);
        OwnedState s = state(e.key / 2, e.key % 2, e.box.lo1, e.box.hi1);
        restrictClock(s.get(), 2, e.box.lo2, e.box.hi2);
        bool covered = false;
        for (const Entry& m : model)
          covered |= m.key == e.key && m.box.includes(e.box);
        ASSERT_EQ(put(list, s, e.store), !covered) << "step " << step;
        if (covered)
          continue;
        for (std::size_t k = 0; k < model.size();) {
          if (model[k].key == e.key && e.box.includes(model[k].box)) {
            if (held && k == heldIndex)
              heldIndex = SIZE_MAX; // covered while held: gone
            else if (held && heldIndex != SIZE_MAX && k < heldIndex)
              --heldIndex;
            model.erase(model.begin() + std::ptrdiff_t(k));
          } else {
            ++k;
          }
        }
        model.push_back(e);
      } else if (op < 8 && !held) {
        std::size_t expected = model.size();
        for (std::size_t k = 0; k < model.size(); ++k)
          if (model[k].waiting && (expected == model.size() || !queue))
            expected = k;
        held = get(list);
        ASSERT_EQ(held != nullptr, expected != model.size()) << "step " << step;
        if (held) {
          OwnedState s = read(held);
          ASSERT_EQ(s->getLocation(0) * 2 + s->getIntegerReference()[0], model[expected].key);
          ASSERT_EQ(interval(s.get()).first, model[expected].box.lo1) << "step " << step;
          ASSERT_EQ(held->getFlag(), model[expected].store);
          heldIndex = expected;
        }
      } else if (held) {
        const bool drop = !held->getFlag();
        held->release(drop);
        if (heldIndex != SIZE_MAX) {
          if (drop)
            model.erase(model.begin() + std::ptrdiff_t(heldIndex));
          else
            model[heldIndex].waiting = false;
        }
        held = nullptr;
      }
      ASSERT_EQ(check(list), "") << "step " << step;
    }
    std::vector<std::pair<int, std::pair<int, int>>> expected, seen = enumerate(list);
    passed = 0;
    for (const Entry& m : model) {
      expected.emplace_back(m.key / 2 * 10 + m.key % 2, std::make_pair(m.box.lo1, m.box.hi1));
      passed += !m.waiting;
    }
    std::sort(expected.begin(), expected.end());
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, expected);
  }
};

} // namespace orvela::test
