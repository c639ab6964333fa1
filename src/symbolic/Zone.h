#pragma once
// The unit in which single clock constraints travel to a region, and the two
// raw bounds every part of the system names.

#include <cstdint>
#include <tuple>

namespace orvela {

/// Scope of the zone-wide names; not instantiable.
struct Zone {
  /// The constraint x_i - x_j bounded by the raw bound `value` (2c + 1 for
  /// <= c, 2c for < c).
  struct Constraint {
    unsigned i;
    unsigned j;
    int32_t value;

    /// Lexicographic on (i, j, value): constraints on the same clock pair are
    /// adjacent, tightest first.
    friend bool operator<(const Constraint& a, const Constraint& b) {
      return std::tie(a.i, a.j, a.value) < std::tie(b.i, b.j, b.value);
    }
    friend bool operator==(const Constraint& a, const Constraint& b) = default;
  };

  /// The strict form of "no bound" (< 0x3fffffff).
  static constexpr int32_t infinity = 0x7ffffffe;
  /// x_i - x_j <= 0.
  static constexpr int32_t zero = 1;

  Zone() = delete;
};

} // namespace orvela
