#pragma once
// Shared helpers of the diagram-library tests: a fixture that runs the library
// with the heap check after every collection and rehash, zones on the heap,
// random zones, and a brute-force evaluation of diagrams at sample points.
//
// Points are clock valuations on the half-integer grid, stored doubled:
// X[i] = 2·x_i, X[0] = 0. A raw bound b (2c + 1 for <= c, 2c for < c) holds
// for a difference exactly when X[i] - X[j] < b, so strict and non-strict
// bounds are told apart at the grid points.

#include "cdd/lib/CddInternal.h"
#include "symbolic/dbm/dbm.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace cddtest {

using Point = std::vector<int32_t>;

/// Faults found by the heap check in the handlers, and how often they ran.
struct HeapWatch {
  static inline std::vector<std::string> faults;
  static inline int collections = 0;
  static inline int rehashes = 0;

  static void afterCollection(const CddGbcStat*) {
    ++collections;
    if (std::string fault = cdd_check_heap(); !fault.empty())
      faults.push_back("after collection: " + fault);
  }
  static void afterRehash(const CddRehashStat*) {
    ++rehashes;
    if (std::string fault = cdd_check_heap(); !fault.empty())
      faults.push_back("after rehash: " + fault);
  }
  static void reset() {
    faults.clear();
    collections = 0;
    rehashes = 0;
  }
};

/// Starts the library for `clocks` clocks (the reference clock included) with
/// the checking handlers; at the end checks the heap, stops the library and
/// checks that every chunk went back.
class CddFixture : public ::testing::Test {
protected:
  void start(int clocks, int maxsize = 64) {
    HeapWatch::reset();
    ASSERT_EQ(cdd_init(maxsize, 10000, 10000), 0);
    cdd_postgbc_hook(HeapWatch::afterCollection);
    cdd_postrehash_hook(HeapWatch::afterRehash);
    ASSERT_EQ(cdd_add_clocks(clocks), 0);
  }
  void SetUp() override { start(4); }
  void TearDown() override {
    EXPECT_EQ(cdd_check_heap(), "");
    EXPECT_TRUE(HeapWatch::faults.empty()) << HeapWatch::faults.front();
    cdd_done();
    EXPECT_EQ(cddChunksOut, 0u);
  }
};

/// A DBM on the heap.
class Zone {
public:
  explicit Zone(unsigned dimension)
      : memory_(std::make_unique<std::byte[]>(dbm_sizeof(dimension))),
        dbm_(dbm_init(dbm_reserve(memory_.get(), dimension))) {}
  Zone(const Zone& other) : Zone(dbm_get_size(other.dbm_)) { dbm_copy(dbm_, other.dbm_); }

  _dbm_* dbm() const { return dbm_; }
  unsigned dimension() const { return dbm_get_size(dbm_); }
  /// x_i - x_j bounded by `raw`.
  Zone& constrain(unsigned i, unsigned j, int32_t raw) {
    dbm_tighten_bound(dbm_, i, j, raw);
    return *this;
  }
  bool empty() const { return dbm_is_empty(dbm_); }
  /// Whether the doubled point lies in the zone.
  bool contains(const Point& x) const;
  /// The zone as a diagram.
  cdd diagram() const { return cdd(cdd_from_dbm(dbm_)); }

private:
  std::unique_ptr<std::byte[]> memory_;
  _dbm_* dbm_;
};

constexpr int32_t le(int32_t c) { return 2 * c + 1; }
constexpr int32_t lt(int32_t c) { return 2 * c; }

/// A non-empty random zone of `dimension` clocks with constants up to `maxConst`.
Zone randomZone(std::mt19937& rng, unsigned dimension, int32_t maxConst, int constraints = 3);

/// A random doubled point with clock values in [0, maxConst + 1].
Point randomPoint(std::mt19937& rng, unsigned dimension, int32_t maxConst);

/// Every doubled point with clock values in [0, maxConst + 1] (dimension 3: two clocks).
std::vector<Point> gridPoints(unsigned dimension, int32_t maxConst);

/// Value of the diagram at the doubled point; `booleans[k]` is the value of
/// the k-th boolean level.
bool evalAt(CddNode* diagram, const Point& x, const std::vector<bool>& booleans = {});

/// Number of root-to-terminal paths of the diagram whose zone is empty
/// (boolean levels are passed through). Zones start from all valuations.
int emptyPaths(CddNode* diagram, unsigned dimension);

/// Number of distinct internal nodes reachable from the diagram.
int nodeCount(CddNode* diagram);

} // namespace cddtest
