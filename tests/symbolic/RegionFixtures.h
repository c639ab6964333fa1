#pragma once
// Regions for the tests: owned heap regions and conversion from and to the
// reference matrices.

#include "symbolic/UnpackedRegion.h"
#include "symbolic/ZoneReference.h"

#include <memory>

namespace orvela::test {

struct RegionRemover {
  void operator()(Region* region) const { Region::remove(region); }
};
/// A heap region released at scope exit.
template <class R> using OwnedRegion = std::unique_ptr<R, RegionRemover>;

/// Writes the matrix `z` into `region` as it is, touching no clock.
inline void load(UnpackedRegion* region, const Matrix& z) {
  for (unsigned i = 0; i < z.n; ++i)
    for (unsigned j = 0; j < z.n; ++j)
      region->set(i, j, z.at(i, j));
}

/// A region holding the matrix `z` as it is, with no clock touched.
inline OwnedRegion<UnpackedRegion> regionOf(const Matrix& z) {
  OwnedRegion<UnpackedRegion> region(UnpackedRegion::create(int(z.n), true));
  load(region.get(), z);
  return region;
}

inline Matrix matrixOf(const UnpackedRegion* r) {
  Matrix z(r->getDim());
  for (unsigned i = 0; i < z.n; ++i)
    for (unsigned j = 0; j < z.n; ++j)
      z.at(i, j) = r->get(i, j);
  return z;
}

} // namespace orvela::test
