#include "pwlist/StoredState.h"

#include "dbm/RawBound.h"
#include "symbolic/Zone.h"

#include <gtest/gtest.h>

#include <map>
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
  std::vector<int32_t> zone = {1,  -2, 0,           // x > 1, y > 0
                               21, 1,  rawInfinity, //
                               31, 9,  1};

  std::vector<int32_t> record(const StoredStateLayout& layout) const {
    std::vector<int32_t> r(layout.recordWords(), -1);
    EXPECT_TRUE(
        layout.encode(r.data(), hash, traceId, locations.data(), integers.data(), zone.data()));
    return r;
  }
};

// Every behaviour holds for narrow and for wide records.
class StoredStateTest : public ::testing::TestWithParam<bool> {
protected:
  StoredStateLayout layout{shape, GetParam()};
};

INSTANTIATE_TEST_SUITE_P(Widths, StoredStateTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Narrow" : "Wide"; });

TEST_P(StoredStateTest, RecordGivesBackEveryPartOfTheState) {
  // hash, trace id, two location words, three integers, six bounds (three
  // words when narrow)
  EXPECT_EQ(layout.recordWords(), 2u + 2u + 3u + (GetParam() ? 3u : 6u));
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

TEST(StoredStateNarrow, BoundsBeyondSixteenBitsAreRefusedAndInfinityFits) {
  StoredStateLayout narrow(shape, true);
  State s;
  std::vector<int32_t> r(narrow.recordWords());
  auto fits = [&](int32_t raw) {
    s.zone[3] = raw; // entry (1, 0)
    return narrow.encode(r.data(), 1, 0, s.locations.data(), s.integers.data(), s.zone.data());
  };
  EXPECT_TRUE(fits(32766));
  EXPECT_FALSE(fits(32767)); // a finite bound that would read as "no bound"
  EXPECT_TRUE(fits(-32768));
  EXPECT_FALSE(fits(-32769));
  EXPECT_FALSE(fits(1 << 20));
  // both encodings of "no bound" fit and come back as one
  EXPECT_TRUE(fits(rawInfiniteFrom));
  std::vector<int32_t> zone(9);
  narrow.zoneOf(r.data(), zone.data());
  EXPECT_EQ(zone[3], rawInfinity);
}

// Random zones against entrywise comparison of the full matrices, with bounds
// around the limits of narrow records and infinite ones. Fixed seed.
TEST_P(StoredStateTest, RelationAgreesWithEntrywiseComparison) {
  const StateShape big{2, 1, 1, 6};
  StoredStateLayout layout(big, GetParam());
  std::mt19937 random(4242);
  const std::vector<int32_t> values{-32768, -5, -1, 0, 1, 2, 7, 32766, rawInfinity};
  std::uniform_int_distribution<std::size_t> pick(0, values.size() - 1);
  std::vector<uint16_t> locations{3, 4};
  std::vector<int32_t> integers{1};
  std::map<Inclusion, int> answers;
  for (int round = 0; round < 3000; ++round) {
    std::vector<int32_t> a(36), b(36);
    for (std::size_t k = 0; k < 36; ++k) {
      a[k] = k % 7 == 0 ? rawLessEqualZero : values[pick(random)];
      // b mostly equal to a, so that every answer occurs
      b[k] = k % 7 == 0 ? rawLessEqualZero : (random() % 20 ? a[k] : values[pick(random)]);
    }
    bool aLarger = false, bLarger = false;
    for (std::size_t k = 0; k < 36; ++k) {
      aLarger |= a[k] > b[k];
      bLarger |= b[k] > a[k];
    }
    const Inclusion expected = aLarger ? (bLarger ? Inclusion::none : Inclusion::superset)
                                       : (bLarger ? Inclusion::subset : Inclusion::equal);
    std::vector<int32_t> ra(layout.recordWords()), rb(layout.recordWords());
    ASSERT_TRUE(layout.encode(ra.data(), 1, -1, locations.data(), integers.data(), a.data()));
    ASSERT_TRUE(layout.encode(rb.data(), 1, -1, locations.data(), integers.data(), b.data()));
    ASSERT_EQ(layout.relation(ra.data(), rb.data()), expected) << "round " << round;
    ++answers[expected];
  }
  for (Inclusion r : {Inclusion::none, Inclusion::subset, Inclusion::superset, Inclusion::equal})
    EXPECT_GT(answers[r], 50) << "answer " << int(r) << " too rare to be tested";
}

} // namespace
} // namespace orvela
