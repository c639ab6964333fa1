#include "pwlist/ConvexHullPWList.h"

#include "ListTestFixture.h"

#include <deque>
#include <map>
#include <random>

namespace orvela {
namespace {

using test::OwnedState;
using Interval = std::pair<int, int>;
using Seen = std::vector<std::pair<int, Interval>>;

class ConvexHullPWListTest : public test::ListTest {
protected:
  Pointer<PWList> makeList(unsigned buckets = 7) {
    return createConvexHullPWList(buckets, createQueuePWOrder(), shape());
  }
};

// Random puts, gets and releases against a model: one interval per discrete
// part that only grows, and a queue of the parts waiting. A part explored
// before and grown is queued again as a kept state. Fixed seed.
TEST_F(ConvexHullPWListTest, RandomOperationsAgreeWithAHullModel) {
  Pointer<PWList> list = makeList(3);
  struct Part {
    Interval zone;
    bool waiting, store;
  };
  std::map<int, Part> parts;
  std::deque<int> queue; // parts in the order they are explored
  std::mt19937 random(13579);
  auto draw = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  GlobalStateReference* held = nullptr;
  int heldKey = -1;
  for (int step = 0; step < 3000; ++step) {
    const int op = draw(10);
    if (op < 6) {
      const int key = draw(5);
      // a window that moves up, so that hulls keep growing
      const int lo = step / 4 + draw(6), hi = lo + draw(4) + (draw(300) == 0 ? 40000 : 0);
      OwnedState s = state(key / 2, key % 2, lo, hi);
      const bool store = draw(4) != 0;
      auto found = parts.find(key);
      const bool covered =
          found != parts.end() && found->second.zone.first <= lo && hi <= found->second.zone.second;
      ASSERT_EQ(put(*list, s, store), !covered) << "step " << step;
      if (covered)
        continue;
      if (found == parts.end()) {
        parts[key] = {{lo, hi}, true, store};
        queue.push_back(key);
      } else {
        Part& part = found->second;
        part.zone = {std::min(part.zone.first, lo), std::max(part.zone.second, hi)};
        if (!part.waiting || key == heldKey) { // explored, or being explored: again
          part.store |= key != heldKey;
          part.waiting = true;
          queue.push_back(key);
          if (key == heldKey) {
            heldKey = -1;
          }
        }
      }
      ASSERT_EQ(interval(s.get()), parts[key].zone) << "step " << step;
    } else if (op < 8 && !held) {
      held = get(*list);
      ASSERT_EQ(held != nullptr, !queue.empty()) << "step " << step;
      if (held) {
        OwnedState s = read(held);
        const int key = s->getLocation(0) * 2 + s->getIntegerReference()[0];
        ASSERT_EQ(key, queue.front()) << "step " << step;
        ASSERT_EQ(interval(s.get()), parts[key].zone) << "step " << step;
        ASSERT_EQ(held->getFlag(), parts[key].store) << "step " << step;
        queue.pop_front();
        heldKey = key;
      }
    } else if (held) {
      held->release(false);
      if (heldKey >= 0)
        parts[heldKey].waiting = false;
      held = nullptr;
      heldKey = -1;
    }
    ASSERT_EQ(check(*list), "") << "step " << step;
  }
  EXPECT_EQ(enumerate(*list).size(), parts.size());
}

} // namespace
} // namespace orvela
