#pragma once
// The clocks that a clock-index expression may denote.

#include "expr/Arithmetic.h"

#include <set>

namespace orvela {

/// Adds to `into` every clock index in `range` (the value range of a
/// clock-index expression) that a model can have: indices below 0 or from
/// `maximalClockCount` on denote no clock and are skipped, so a wide range
/// costs at most that many. The parser builds clock-index expressions whose
/// range lies inside the model's clock table.
void insertClocks(Interval range, std::set<int>& into);

} // namespace orvela
