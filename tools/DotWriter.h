#pragma once
// Graphs in the dot language of Graphviz.

#include "Explore.h"

#include <cstddef>
#include <iosfwd>

namespace orvela::verifier {

/// The most states `orvela --explore --dot` draws: a larger drawing shows
/// nothing a person can read.
inline constexpr std::size_t maximalDrawnStates = 1000;

/// Writes `graph` as a dot digraph: one box per stored state (its locations,
/// variables and zone), one arrow per move that first reached a state,
/// labelled with its edges.
void writeExploredGraph(std::ostream& out, const ExploredGraph& graph);

} // namespace orvela::verifier
