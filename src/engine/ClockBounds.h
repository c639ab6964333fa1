#pragma once
// Location-local clock bounds. Beside the one maximal constant per clock of
// the whole model (NormalisationInfo), a zone abstraction may use, in each
// location, only the constants the clocks can still be compared with before
// they are reset, and tell lower-bound comparisons (x > c, x >= c) from
// upper-bound ones (x < c, x <= c). Smaller bounds merge more zones.

#include "base/Object.h"
#include "dbm/Extrapolation.h"
#include "engine/NormalisationInfo.h"

#include <cstdint>
#include <vector>

namespace orvela {

class System;

/// How a search widens zones: by the maximal constants of the whole model
/// (`globalMax`) or of the state's locations (`localMax`), or by lower and
/// upper bounds (Extra+LU), of the whole model (`globalLU`) or of the state's
/// locations (`localLU`). Numbered like the option's digits.
enum class Extrapolation : uint8_t { globalMax = 0, localMax = 1, globalLU = 2, localLU = 3 };
/// How a passed list decides that a stored zone covers a new one: by
/// inclusion, or by LU simulation (the new zone within aLU of the stored one,
/// with the state's bounds). Numbered like the option's digits.
enum class Subsumption : uint8_t { inclusion = 0, lu = 1 };

/// For every process, location and clock, the lower-bound constant L and the
/// upper-bound constant U: the largest c of a comparison x ≻ c (L) or x ≺ c
/// (U) that clock x can meet from that location on, in the location's
/// invariant, on an outgoing edge's guard, or further on along edges that do
/// not reset x. An update d := s + c hands d's bounds at the edge's target (and
/// d's bounds anywhere in another process, which may read d later) to s at
/// its source, minus c. The property's constants count in every location, as
/// both L and U. A clock that the model's global constants leave unwidened
/// (NormalisationInfo::unbounded) is unbounded everywhere.
///
/// The bound of a product state is, per clock, the largest over its
/// processes' current locations. The bounds are a fixpoint over each
/// process's graph, the processes tied only through shared clocks.
class ClockBounds final : public Object {
public:
  /// The bound of a clock never compared in that direction (minus infinity).
  static constexpr int32_t none = noClockBound;

  /// The bounds of `system` (built, with its tables), whose global constants
  /// `global` gathered the model and the property; `property` holds the
  /// largest constant per clock of the property alone (empty for none).
  ClockBounds(const System& system, const NormalisationInfo& global,
              const std::vector<int>& property);

  /// False when the model or the property compares two clocks (a difference
  /// constraint): LU abstractions and local bounds are unsound there, and the
  /// global maximal constants with the zone splits must be used instead.
  bool usable() const { return usable_; }
  /// Clocks, the reference clock (always bound 0) included.
  unsigned clocks() const { return clocks_; }

  int32_t lower(int process, int location, int clock) const {
    return lower_[index(process, location, clock)];
  }
  int32_t upper(int process, int location, int clock) const {
    return upper_[index(process, location, clock)];
  }

  /// Writes, for the state whose process locations are `locations`, the
  /// largest L and U per clock over its processes into `lower` and `upper`
  /// (`clocks()` entries each; the reference clock gets 0).
  void boundsOf(const uint16_t* locations, int32_t* lower, int32_t* upper) const;
  /// The largest L and U per clock over every location of every process.
  const std::vector<int32_t>& globalLower() const { return globalLower_; }
  const std::vector<int32_t>& globalUpper() const { return globalUpper_; }

private:
  std::size_t index(int process, int location, int clock) const {
    return (firstLocation_[std::size_t(process)] + std::size_t(location)) * clocks_ +
           std::size_t(clock);
  }

  unsigned clocks_;
  bool usable_;
  /// Per process, the number of locations of the processes before it.
  std::vector<std::size_t> firstLocation_;
  /// Row per (process, location), one entry per clock.
  std::vector<int32_t> lower_;
  std::vector<int32_t> upper_;
  std::vector<int32_t> globalLower_;
  std::vector<int32_t> globalUpper_;
};

/// How a search widens and compares zones.
struct Abstraction {
  Extrapolation extrapolation = Extrapolation::globalMax;
  Subsumption subsumption = Subsumption::inclusion;
  /// The bounds of the local and LU choices (usable ones); null for the
  /// global maximal constants and inclusion.
  Pointer<ClockBounds> bounds;
};

} // namespace orvela
