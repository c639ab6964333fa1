#pragma once
// Zone abstractions by lower and upper clock bounds, on the closed n×n
// matrices of raw bounds of the zones (row-major, entry (i, j) bounding
// x_i - x_j, clock 0 the reference clock).
//
// A clock's lower bound L is the largest c of a comparison x > c or x >= c it
// can still meet, its upper bound U the largest c of an x < c or x <= c.
// Valuation v is simulated by v' (v ≼LU v') when for every clock either
// v'(x) = v(x), or L < v'(x) < v(x), or U < v(x) < v'(x): from v', every
// guard v satisfies is satisfied too. aLU(Z) is the set of valuations some
// point of Z simulates; it need not be convex.

#include <cstdint>

namespace orvela {

/// The bound of a clock that is never compared (minus infinity): every value
/// of such a clock simulates every other.
inline constexpr int32_t noClockBound = INT32_MIN;

/// Extra+LU: widens the closed, non-empty zone m (n clocks) to a zone between
/// m and aLU(m), and closes it. With c_ij the constant of entry (i, j):
///   c_ij > L_i, or -c_0i > L_i, or -c_0j > U_j (i != 0)   →  no bound;
///   -c_0j > U_j (i == 0)                                  →  x_j > U_j
/// (x_j >= 0 when U_j is `noClockBound`). `lower` and `upper` hold n bounds,
/// 0 for the reference clock. Answers whether the zone changed.
bool extrapolateLU(int32_t* m, unsigned n, const int32_t* lower, const int32_t* upper);

/// True if the closed, non-empty zone z is included in aLU(zPrime)
/// (zPrime closed and non-empty, both of n clocks): O(n²), by the criterion
/// that z is not included exactly when some clocks x, y (either may be the
/// reference clock, whose bounds are 0) have
///   z_0x >= (<=, -U_x),  z'_yx < z_yx  and  z'_yx + (<, -L_y) < z_0x.
bool includedInALU(const int32_t* z, const int32_t* zPrime, unsigned n, const int32_t* lower,
                   const int32_t* upper);

} // namespace orvela
