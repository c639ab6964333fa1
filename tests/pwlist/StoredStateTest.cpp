#include "pwlist/StoredState.h"

#include "symbolic/dbm/RawBound.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace orvela {
namespace {

// Three processes (an odd count: the location words carry padding), three
// integers of which two tell states apart, and three clocks.
const StateShape shape{3, 3, 2, 3};

struct State {
  unsigned hash = 77;
  int traceId = 5;
  std::vector<uint16_t> locations{1, 2, 65535};
  std::vector<int32_t> integers{4, -3, 9};
  std::vector<int32_t> zone = {1,  -2, 0, // x > 1, y > 0
                               21, 1,  7, //
                               31, 9,  1};

  std::vector<int32_t> record(const StoredStateLayout& layout) const {
    std::vector<int32_t> r(layout.recordWords(), -1);
    layout.encode(r.data(), hash, traceId, locations.data(), integers.data(), zone.data());
    return r;
  }
};

TEST(StoredState, RecordGivesBackEveryPartOfTheState) {
  StoredStateLayout layout(shape);
  // hash, trace id, two location words, three integers, six bounds
  EXPECT_EQ(layout.recordWords(), 2u + 2u + 3u + 6u);
  State s;
  std::vector<int32_t> r = s.record(layout);
  EXPECT_EQ(layout.hashOf(r.data()), 77u);
  EXPECT_EQ(layout.traceIdOf(r.data()), 5);
  std::vector<uint16_t> locations(3);
  layout.locationsOf(r.data(), locations.data());
  EXPECT_EQ(locations, s.locations);
  EXPECT_EQ(std::vector<int32_t>(layout.integersOf(r.data()), layout.integersOf(r.data()) + 3),
            s.integers);
  std::vector<int32_t> zone(9, 0);
  layout.zoneOf(r.data(), zone.data());
  EXPECT_EQ(zone, s.zone);
}

TEST(StoredState, OnlyStatesWithTheSameKeyAreCompared) {
  StoredStateLayout layout(shape);
  State s;
  std::vector<int32_t> stored = s.record(layout);
  EXPECT_EQ(layout.relation(stored.data(), s.record(layout).data()), 4);

  State other = s;
  other.hash = 78;
  EXPECT_EQ(layout.relation(stored.data(), other.record(layout).data()), 0);
  other = s;
  other.locations[2] = 0; // the last location, next to the padding
  EXPECT_EQ(layout.relation(stored.data(), other.record(layout).data()), 0);
  other = s;
  other.integers[1] = 0; // a compared value
  EXPECT_EQ(layout.relation(stored.data(), other.record(layout).data()), 0);
  other = s;
  other.integers[2] = 0; // a value that does not tell states apart
  other.traceId = 99;
  EXPECT_EQ(layout.relation(stored.data(), other.record(layout).data()), 4);
}

TEST(StoredState, ZonesAreComparedBothWaysInOnePass) {
  StoredStateLayout layout(shape);
  State s;
  std::vector<int32_t> stored = s.record(layout);
  State wider = s;
  wider.zone[1] = -1; // x >= 1 instead of x > 1
  wider.zone[5] = 9;  // x - y <= 4 instead of <= 3
  EXPECT_EQ(layout.relation(stored.data(), wider.record(layout).data()), 2);
  EXPECT_EQ(layout.relation(wider.record(layout).data(), stored.data()), 1);
  State crossing = s;
  crossing.zone[1] = -1;    // looser in one entry
  crossing.zone[8 - 1] = 8; // tighter in another (the last before the diagonal)
  EXPECT_EQ(layout.relation(stored.data(), crossing.record(layout).data()), 0);
  EXPECT_EQ(layout.relation(crossing.record(layout).data(), stored.data()), 0);
}

// Random zones against entrywise comparison of the full matrices.
TEST(StoredState, RelationAgreesWithEntrywiseComparison) {
  const StateShape big{2, 1, 1, 6};
  StoredStateLayout layout(big);
  std::mt19937 random(4242);
  std::uniform_int_distribution<int32_t> bound(-4, 4);
  std::vector<uint16_t> locations{3, 4};
  std::vector<int32_t> integers{1};
  for (int round = 0; round < 2000; ++round) {
    std::vector<int32_t> a(36), b(36);
    for (std::size_t k = 0; k < 36; ++k) {
      a[k] = k % 7 == 0 ? rawLessEqualZero : bound(random);
      // b mostly equal to a, so that every answer occurs
      b[k] = k % 7 == 0 ? rawLessEqualZero : (random() % 4 ? a[k] : bound(random));
    }
    bool aLarger = false, bLarger = false;
    for (std::size_t k = 0; k < 36; ++k) {
      aLarger |= a[k] > b[k];
      bLarger |= b[k] > a[k];
    }
    const int expected = aLarger ? (bLarger ? 0 : 1) : (bLarger ? 2 : 4);
    std::vector<int32_t> ra(layout.recordWords()), rb(layout.recordWords());
    layout.encode(ra.data(), 1, -1, locations.data(), integers.data(), a.data());
    layout.encode(rb.data(), 1, -1, locations.data(), integers.data(), b.data());
    ASSERT_EQ(layout.relation(ra.data(), rb.data()), expected) << "round " << round;
  }
}

} // namespace
} // namespace orvela
