#pragma once
// A record of the clock table of a model (`ModelTables`). Clock 0 is the
// reference clock "t(0)", which is always zero; every element of a clock
// array is a clock of its own.

#include <string>

namespace orvela {

/// Largest number of clocks of a model, the reference clock included: the
/// zone dimension is stored in 8 bits.
inline constexpr int maximalClockCount = 255;

/// One clock: its index and name (built like integer names).
struct ClockInfo {
  int index; ///< equal to the record's position in the table
  std::string name;
};

} // namespace orvela
