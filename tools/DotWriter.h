#pragma once
// Graphviz drawings of what the verifier found: a trace, or the states an
// exploration stored.

#include "Explore.h"
#include "Report.h"

#include <cstddef>
#include <iosfwd>

namespace orvela::verifier {

/// Writes the trace of `report` as a digraph: one node per state, labelled
/// with its locations, variables and zone (the clock values instead for a
/// concrete trace), and one edge per step, labelled with the delay before it
/// (concrete traces) and the edges taken; the last state also says how long
/// time passes there. A loop gets a dashed edge from the last state back to
/// the state it returns to. The trace must not be empty.
void writeTraceDot(std::ostream& out, const PropertyReport& report);

/// The most states `orvela --explore --dot` draws: a larger drawing shows
/// nothing a person can read.
inline constexpr std::size_t maximalDrawnStates = 1000;

/// Writes `graph` as a digraph: one box per stored state (its locations,
/// variables and zone), one arrow per move that first reached a state,
/// labelled with its edges.
void writeExploredGraph(std::ostream& out, const ExploredGraph& graph);

} // namespace orvela::verifier
