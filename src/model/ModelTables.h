#pragma once
// Start of a new model: the process-wide variable tables are emptied before
// each system description is read, so that a client can load one model after
// another.

namespace orvela {

/// Name of the reference clock, clock 0 of every model.
inline constexpr const char* referenceClockName = "t(0)";

/// Empties the integer table (and `realInts`) and the clock table (no cost
/// clock: `tauClock` is -1), then adds
/// the reference clock "t(0)" as clock 0. Call it once before parsing a
/// description; the parser then must not add "t(0)" itself.
void resetModelTables();

} // namespace orvela
