#pragma once
// The table of clocks of the loaded model. Clock 0 is the reference clock
// "t(0)", which is always zero; every element of a clock array is a clock of
// its own.

#include <iosfwd>
#include <string>
#include <vector>

namespace orvela {

/// One clock: its index and name (built like integer names).
struct ClockInfo {
  int index; ///< equal to the record's position in `clocks`
  std::string name;

  /// The clocks, in index order. `resetModelTables` leaves only "t(0)".
  static std::vector<ClockInfo> clocks;

  /// Appends a clock and answers its index (the table's size before the call).
  static int addClock(const char* name);
  /// Not supported: always throws `Bug`.
  static void removeClock(int index);
  /// Diagnostic dump: "ClockInfo:", then "  Clock #position  name (index)" per
  /// clock.
  static void printInfo(std::ostream& out);
};

} // namespace orvela
