#pragma once
// Edges and states of the loaded model in the words of the model: process,
// location, variable and clock names, and the texts the model gave its
// guards, synchronisations and updates.

#include "Report.h"

namespace orvela {
class GlobalState;
class System;
class Transition;
} // namespace orvela

namespace orvela::verifier {

EdgeText describeEdge(const Transition& edge);

/// The locations of every process, the declared integers, and the zone as
/// constraints by clock name: every finite bound with `ZoneFormat::full`, the
/// minimal constraints otherwise. The state must have a region and an integer
/// table.
StateText describeState(const System& system, const GlobalState& state, ZoneFormat zoneFormat);

} // namespace orvela::verifier
