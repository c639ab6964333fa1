#pragma once
// Symbolic states for the tests: the tables of a small model (clocks and
// integers) and heap states built from literal locations, integer values and
// clock intervals.

#include "model/ModelTables.h"
#include "symbolic/GlobalState.h"
#include "symbolic/UnpackedRegion.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace orvela::test {

/// Model tables with clocks x1..x`clocks` and integers i0..i`integers-1`
/// (domain [-100, 100], initial value 0); no cost clock.
inline ModelTables setUpModel(int clocks, int integers) {
  ModelTables tables;
  char name[16];
  for (int k = 1; k <= clocks; ++k) {
    std::snprintf(name, sizeof name, "x%d", k);
    tables.addClock(name);
  }
  for (int k = 0; k < integers; ++k) {
    std::snprintf(name, sizeof name, "i%d", k);
    tables.addInteger(name, -100, 100, 0);
  }
  return tables;
}

struct StateRemover {
  void operator()(GlobalState* state) const { GlobalState::remove(state); }
};
/// A heap state removed at scope exit.
using OwnedState = std::unique_ptr<GlobalState, StateRemover>;

/// A heap state with the given locations and integer values and an
/// unconstrained (non-negative, unbounded) closed zone over every clock of
/// `model`.
inline OwnedState makeState(const ModelTables& model, const std::vector<int>& locations,
                            const std::vector<int>& integers) {
  OwnedState state(GlobalState::create(int(locations.size())));
  for (std::size_t k = 0; k < locations.size(); ++k)
    state->setLocation(unsigned(k), locations[k]);
  IntegerTable* table = IntegerTable::create(int(integers.size()), false);
  for (std::size_t k = 0; k < integers.size(); ++k)
    (*table)[int(k)] = integers[k];
  state->setIntegerTable(table);
  state->setRegion(UnpackedRegion::create(model.clockCount(), true));
  return state;
}

/// Restricts clock x of the state to [low, high] and closes the zone.
inline void restrictClock(GlobalState* state, unsigned x, int low, int high) {
  state->tighten(x, 0, 2 * high + 1);
  state->tighten(0, x, -2 * low + 1);
  state->ok();
}

} // namespace orvela::test
