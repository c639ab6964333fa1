#pragma once
// The clocks that a clock-index expression may denote.

#include "model/Arithmetic.h"

#include <set>

namespace orvela {

/// Adds to `into` every clock of the clock table whose index lies in `range`
/// (the value range of a clock-index expression). Indices outside the table
/// denote no clock and are skipped, so a wide range costs at most the table.
void insertClocks(Interval range, std::set<int>& into);

} // namespace orvela
