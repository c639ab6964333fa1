#include "pwlist/ConstredPWList.h"

#include "ListTestFixture.h"

#include <algorithm>
#include <random>
#include <tuple>

namespace orvela {
namespace {

using test::OwnedState;

class ConstredPWListTest : public test::ListTest {
protected:
  Pointer<PWList> makeList(WaitingStore* order, unsigned buckets = 7) {
    return createCDSPWList(buckets, order, shape());
  }
  static ConstredPWList& constred(PWList& list) { return static_cast<ConstredPWList&>(list); }
};

TEST_F(ConstredPWListTest, AnExploredStateIsPackedAndGivesBackItsExactZone) {
  Pointer<PWList> list = makeList(createQueuePWOrder());
  OwnedState s = test::makeState({3, 0}, {-4, 17});
  test::restrictClock(s.get(), 1, 2, 5);
  test::restrictClock(s.get(), 2, 1, 8);
  s->tighten(2, 1, 2 * 3 + 1); // x2 - x1 <= 3: a difference constraint to keep
  ASSERT_TRUE(s->ok());
  s->setTraceId(42);
  OwnedState waiting = state(7, 0, 0, 1);
  ASSERT_TRUE(put(*list, s));
  ASSERT_TRUE(put(*list, waiting));

  GlobalStateReference* reference = get(*list);
  ASSERT_EQ(read(reference)->relation(s.get()), GlobalState::equal);
  reference->release(false);
  EXPECT_EQ(constred(*list).packedInUse(), 1u);
  EXPECT_EQ(constred(*list).nodesInUse(), 1u); // the waiting state's record
  EXPECT_EQ(check(*list), "");

  // Enumeration reads both forms: the passed state is unpacked exactly.
  int passedSeen = 0;
  Pointer<PureSource> states = list->enumStates();
  GlobalStateReference* stored;
  while (states->tryGet(&stored)) {
    OwnedState back = read(stored);
    if (back->getLocation(0) == 3) {
      ++passedSeen;
      EXPECT_EQ(back->relation(s.get()), GlobalState::equal);
      EXPECT_EQ(back->getIntegerReference()[1], 17);
      EXPECT_EQ(back->getTraceId(), 42);
      EXPECT_TRUE(back->getUnpackedRegion()->isClosed());
    } else {
      EXPECT_EQ(back->relation(waiting.get()), GlobalState::equal);
    }
  }
  EXPECT_EQ(passedSeen, 1);
}

TEST_F(ConstredPWListTest, PackedStatesCoverNewStatesAndAreDroppedByWiderOnes) {
  Pointer<PWList> list = makeList(createQueuePWOrder(), 1);
  ASSERT_TRUE(put(*list, state(1, 0, 0, 5)));
  get(*list)->release(false);
  ASSERT_EQ(constred(*list).packedInUse(), 1u);

  EXPECT_FALSE(put(*list, state(1, 0, 1, 4))); // inside: the quick test rejects it
  EXPECT_FALSE(put(*list, state(1, 0, 0, 5))); // equal
  EXPECT_TRUE(put(*list, state(1, 1, 1, 4)));  // another integer value
  EXPECT_TRUE(put(*list, state(1, 0, 3, 9)));  // overlapping only
  EXPECT_EQ(constred(*list).packedInUse(), 1u);
  EXPECT_TRUE(put(*list, state(1, 0, 0, 9))); // includes the packed state and the overlap
  EXPECT_EQ(constred(*list).packedInUse(), 0u);
  EXPECT_EQ(check(*list), "");
  using Seen = std::vector<std::pair<int, std::pair<int, int>>>;
  EXPECT_EQ(enumerate(*list), (Seen{{10, {0, 9}}, {11, {1, 4}}}));
}

TEST_F(ConstredPWListTest, DroppedAndCoveredHeldStatesLeaveNoNodeBehind) {
  Pointer<PWList> list = makeList(createStackPWOrder());
  ASSERT_TRUE(put(*list, state(1, 0, 0, 1), false));
  get(*list)->release(true); // store flag clear: forgotten
  EXPECT_EQ(constred(*list).nodesInUse() + constred(*list).packedInUse(), 0u);
  EXPECT_TRUE(put(*list, state(1, 0, 0, 1)));

  GlobalStateReference* held = get(*list);
  ASSERT_TRUE(put(*list, state(1, 0, 0, 3))); // covers the held state
  EXPECT_EQ(check(*list), "");
  EXPECT_EQ(test::ListTest::interval(read(held).get()), std::make_pair(0, 1));
  held->release(false); // covered meanwhile: not packed
  EXPECT_EQ(constred(*list).packedInUse(), 0u);
  EXPECT_EQ(constred(*list).nodesInUse(), 1u);
  EXPECT_EQ(check(*list), "");
  list->clear();
  EXPECT_EQ(constred(*list).packedInUse() + constred(*list).nodesInUse(), 0u);
  EXPECT_TRUE(enumerate(*list).empty());
}

// Random puts, gets and releases against a brute-force model of the default
// list's semantics, which packing must not change: states as (key, box) with
// two clocks, so that zones carry difference constraints. Fixed seed.
TEST_F(ConstredPWListTest, RandomOperationsAgreeWithABruteForceModel) {
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
  for (bool queue : {true, false}) {
    SCOPED_TRACE(queue ? "queue" : "stack");
    Pointer<PWList> list = makeList(queue ? createQueuePWOrder() : createStackPWOrder(), 3);
    std::vector<Entry> model; // in insertion order
    std::mt19937 random(24680);
    auto draw = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    GlobalStateReference* held = nullptr;
    std::size_t heldIndex = 0;
    for (int step = 0; step < 3000; ++step) {
      const int op = draw(10);
      if (op < 6) {
        Entry e{draw(4), {}, true, draw(4) != 0};
        e.box.lo1 = draw(4);
        e.box.hi1 = e.box.lo1 + draw(4);
        e.box.lo2 = draw(4);
        e.box.hi2 = e.box.lo2 + draw(4);
        OwnedState s = state(e.key / 2, e.key % 2, e.box.lo1, e.box.hi1);
        test::restrictClock(s.get(), 2, e.box.lo2, e.box.hi2);
        bool covered = false;
        for (const Entry& m : model)
          covered |= m.key == e.key && m.box.includes(e.box);
        ASSERT_EQ(put(*list, s, e.store), !covered) << "step " << step;
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
        held = get(*list);
        ASSERT_EQ(held != nullptr, expected != model.size()) << "step " << step;
        if (held) {
          OwnedState s = read(held);
          ASSERT_EQ(s->getLocation(0) * 2 + s->getIntegerReference()[0], model[expected].key);
          ASSERT_EQ(interval(s.get()).first, model[expected].box.lo1) << "step " << step;
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
      ASSERT_EQ(check(*list), "") << "step " << step;
    }
    std::size_t passed = 0;
    for (const Entry& m : model)
      passed += !m.waiting;
    EXPECT_EQ(constred(*list).packedInUse(), passed);
    EXPECT_EQ(enumerate(*list).size(), model.size());
  }
}

} // namespace
} // namespace orvela
