#pragma once
// Start of a new model: the process-wide variable tables are emptied before
// each system description is read, so that a client can load one model after
// another.

#include "model/ChannelInfo.h"
#include "model/ClockInfo.h"
#include "model/IntegerInfo.h"

#include <vector>

namespace orvela {

/// Name of the reference clock, clock 0 of every model.
inline constexpr const char* referenceClockName = "t(0)";

/// Empties the integer table (and `realInts`), the channel table and the
/// clock table, then adds the reference
/// clock "t(0)" as clock 0. Call it once before parsing a description; the
/// parser then must not add "t(0)" itself.
void resetModelTables();

/// A copy of the integer, clock and channel tables, taken on construction, to
/// put a model's tables back after a description failed to load.
class ModelTablesSnapshot {
public:
  ModelTablesSnapshot();
  /// Replaces the tables by the copy.
  void restore() const;

private:
  std::vector<IntegerInfo> integers_;
  int realInts_;
  std::vector<ClockInfo> clocks_;
  std::vector<ChannelInfo> channels_;
};

} // namespace orvela
