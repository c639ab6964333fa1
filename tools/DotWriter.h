#pragma once
// Graphviz drawings of what the verifier found.

#include "Report.h"

#include <iosfwd>

namespace orvela::verifier {

/// Writes the trace of `report` as a digraph: one node per state, labelled
/// with its locations, variables and zone (the clock values instead for a
/// concrete trace), and one edge per step, labelled with the delay before it
/// (concrete traces) and the edges taken; the last state also says how long
/// time passes there. A loop gets a dashed edge from the last state back to
/// the state it returns to. The trace must not be empty.
void writeTraceDot(std::ostream& out, const PropertyReport& report);

} // namespace orvela::verifier
