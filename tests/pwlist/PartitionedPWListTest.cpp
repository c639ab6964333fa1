#include "pwlist/PartitionedPWList.h"

#include "ListTestFixture.h"

#include <array>
#include <thread>

namespace orvela {
namespace {

using test::makeState;
using test::OwnedState;
using test::restrictClock;

class PartitionedPWListTest : public test::ListTest {
protected:
  /// Key (location 0 and integer 0) and the bounds of x1 and x2.
  using Box = std::array<int, 5>;

  static Box boxOf(const GlobalState* s) {
    const UnpackedRegion* zone = s->getUnpackedRegion();
    return {s->getLocation(0) * 10 + const_cast<GlobalState*>(s)->getIntegerReference()[0],
            -(zone->get(0, 1) >> 1), zone->get(1, 0) >> 1, -(zone->get(0, 2) >> 1),
            zone->get(2, 0) >> 1};
  }
  static std::vector<Box> boxesOf(const PWList& list) {
    std::vector<Box> boxes;
    Pointer<PureSource> states = list.enumStates();
    GlobalStateReference* reference;
    while (states->tryGet(&reference))
      boxes.push_back(boxOf(read(reference).get()));
    return boxes;
  }
};

// Threads put random states and take waiting ones at the same time, several
// on one partition. However the puts interleave, the states kept must be the
// ones the sequential list keeps for the same states (those no other state
// covers), every state is handed out at most once, and after the rest is
// taken every kept state has been handed out: none was lost or explored twice,
// and the count of waiting entries is back at 0.
TEST_F(PartitionedPWListTest, ConcurrentPutsAndTakesKeepTheSequentialAntichain) {
  constexpr unsigned threads = 4, perThread = 800;
  std::mt19937 random(24680);
  auto draw = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  std::vector<OwnedState> states, scratch;
  for (unsigned k = 0; k < threads * perThread; ++k) {
    const int lo1 = draw(5), lo2 = draw(5);
    states.push_back(state(draw(3), draw(2), lo1, lo1 + draw(5)));
    restrictClock(states.back().get(), 2, lo2, lo2 + draw(5));
  }
  for (unsigned t = 0; t < threads; ++t)
    scratch.push_back(makeState(model, {0, 0}, {0, 0}));

  PartitionedPWList parallel(8, [&] { return createDBMPWList(5, createQueuePWOrder(), shape()); });
  std::vector<std::vector<Box>> taken(threads + 1);
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < threads; ++t)
    workers.emplace_back([&, t] {
      unsigned from = t;
      for (unsigned k = t; k < states.size(); k += threads) {
        parallel.put({states[k].get(), true, keyHash(states[k].get())});
        if (k % 3 == 0 && parallel.take(from, threads, scratch[t].get()))
          taken[t].push_back(boxOf(scratch[t].get()));
      }
    });
  for (std::thread& worker : workers)
    worker.join();
  unsigned from = 0;
  while (parallel.take(from, 1, scratch[0].get()))
    taken[threads].push_back(boxOf(scratch[0].get()));

  Pointer<PWList> sequential = createDBMPWList(7, createQueuePWOrder(), shape());
  for (const OwnedState& s : states)
    put(*sequential, s);
  std::vector<Box> expected = boxesOf(*sequential), kept, handedOut;
  for (unsigned p = 0; p < parallel.partitionCount(); ++p) {
    ASSERT_EQ(check(parallel.partition(p)), "");
    for (const Box& box : boxesOf(parallel.partition(p)))
      kept.push_back(box);
  }
  for (const std::vector<Box>& boxes : taken)
    handedOut.insert(handedOut.end(), boxes.begin(), boxes.end());
  std::sort(expected.begin(), expected.end());
  std::sort(kept.begin(), kept.end());
  std::sort(handedOut.begin(), handedOut.end());
  EXPECT_EQ(kept, expected);
  EXPECT_EQ(std::adjacent_find(handedOut.begin(), handedOut.end()), handedOut.end());
  EXPECT_TRUE(std::includes(handedOut.begin(), handedOut.end(), kept.begin(), kept.end()));
  EXPECT_EQ(parallel.explored(), handedOut.size());
  EXPECT_EQ(parallel.waiting(), 0u);
}

} // namespace
} // namespace orvela
