#pragma once
// The variable tables of one model: its integers, clocks and channels. A
// parse fills a fresh value and the system it builds takes it over, so every
// loaded model carries its own tables and nothing is shared between models.

#include "model/ChannelInfo.h"
#include "symbolic/ClockInfo.h"
#include "symbolic/IntegerInfo.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvela {

/// Name of the reference clock, clock 0 of every model.
inline constexpr const char* referenceClockName = "t(0)";

/// The integer, clock and channel tables of a model. A new value holds only
/// the reference clock "t(0)" as clock 0.
struct ModelTables {
  /// The integer records, in index order.
  std::vector<IntegerInfo> integers;
  /// Number of integer records whose meta flag is false; states compare and
  /// hash these values only.
  int realInts = 0;
  /// The clocks, in index order.
  std::vector<ClockInfo> clocks{ClockInfo{0, referenceClockName}};
  /// The channels, in id order (record id k at position k - 1).
  std::vector<ChannelInfo> channels;

  /// Appends a declared (non-meta) integer with the next index, counts it in
  /// `realInts` and answers its index.
  int addInteger(std::string name, int lower, int upper, int initial);
  /// Appends a clock and answers its index (the table's size before the call).
  int addClock(std::string name);
  /// Appends a channel and answers its id (the table's size after the call).
  int addChannel(bool urgent, bool broadcast, std::string name);

  /// The record of channel `id` (1-based; asserted in range).
  const ChannelInfo& channel(int id) const;
  /// Index of the first integer named `name`, or -1.
  int integerOffset(std::string_view name) const;

  int integerCount() const { return static_cast<int>(integers.size()); }
  int clockCount() const { return static_cast<int>(clocks.size()); }
  int channelCount() const { return static_cast<int>(channels.size()); }
};

} // namespace orvela
