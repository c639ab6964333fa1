#pragma once
// Shared helpers of the diagram-library tests: a fixture that runs a library
// and checks its heap at the end, zones on the heap,
// random zones, and a brute-force evaluation of diagrams at sample points.
//
// Points are clock valuations on the half-integer grid, stored doubled:
// X[i] = 2·x_i, X[0] = 0. A raw bound b (2c + 1 for <= c, 2c for < c) holds
// for a difference exactly when X[i] - X[j] < b, so strict and non-strict
// bounds are told apart at the grid points.

#include "cddlib/CddInternal.h"
#include "dbm/dbm.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace cddtest {

using Point = std::vector<int32_t>;

/// Runs a library for `clocks` clocks (the reference clock included); at the
/// end checks its heap and destroys it.
class CddFixture : public ::testing::Test {
protected:
  void start(int clocks, int maxsize = 64) {
    lib.reset(); // every handle of the old library is gone by now
    lib = std::make_unique<CddLibrary>(clocks, maxsize);
  }
  CddState& state() { return lib->state(); }
  void SetUp() override { start(4); }
  void TearDown() override {
    EXPECT_EQ(cdd_check_heap(state()), "");
    lib.reset();
  }

  std::unique_ptr<CddLibrary> lib;
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
  /// Tightens this zone by every bound of `other` (same dimension).
  Zone& intersect(const Zone& other) {
    for (unsigned i = 0; i < dimension(); ++i)
      for (unsigned j = 0; j < dimension(); ++j)
        constrain(i, j, dbm_get_bound(other.dbm_, i, j));
    return *this;
  }
  bool empty() const { return dbm_is_empty(dbm_); }
  /// Whether the doubled point lies in the zone.
  bool contains(const Point& x) const;
  /// The zone as a diagram of `library`.
  cdd diagram(CddLibrary& library) const { return library.fromDbm(dbm_); }

private:
  std::unique_ptr<std::byte[]> memory_;
  _dbm_* dbm_;
};

constexpr int32_t le(int32_t c) { return 2 * c + 1; }
constexpr int32_t lt(int32_t c) { return 2 * c; }

/// A non-empty random zone of `dimension` clocks with constants up to `maxConst`;
/// some pin a clock or a difference to one value.
Zone randomZone(std::mt19937& rng, unsigned dimension, int32_t maxConst, int constraints = 3);

/// A random doubled point with clock values in [0, maxConst + 1].
Point randomPoint(std::mt19937& rng, unsigned dimension, int32_t maxConst);

/// Every doubled point with clock values in [0, maxConst + 1] (dimension 3: two clocks).
std::vector<Point> gridPoints(unsigned dimension, int32_t maxConst);

/// Value of the diagram (of clock levels only) at the doubled point.
bool evalAt(const cdd& diagram, const Point& x);

/// Number of root-to-terminal paths of the diagram whose zone is empty.
/// Zones start from all valuations.
int emptyPaths(const cdd& diagram, unsigned dimension);

} // namespace cddtest
