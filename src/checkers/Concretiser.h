#pragma once
// One concrete run along a symbolic trace: the delay before each step and the
// clock values in each state, exact rationals, such that every invariant,
// guard and update of the trace holds. Of all runs along the trace that end
// where the goal holds, it is one that ends earliest.

#include "base/Object.h"
#include "checkers/RationalZone.h"
#include "model/RegionRecorder.h"

#include <optional>
#include <vector>

namespace orvela {

class Allocator;
class GlobalState;
class System;
class TCTLExpression;
class Transition;

/// A state of a concrete run.
struct ConcreteStep {
  /// How long time passed in the previous state before this step's edges
  /// fired; 0 for the start state.
  mpq_class delay;
  /// The value of every clock when the state is entered (clock 0, the
  /// reference clock, is 0).
  std::vector<mpq_class> clocks;
};

struct ConcreteRun {
  std::vector<ConcreteStep> steps; ///< the start state, then one per step
  /// How long time passes in the last state until the goal holds.
  mpq_class finalDelay;
};

/// Collects the states of a trace replay, then concretises it.
class Concretiser {
public:
  /// A trace of `system` from `start` (before delay and invariants).
  Concretiser(const Pointer<System>& system, const GlobalState& start);

  /// The next state of the replay and the edges taken to it (none for the
  /// start state, which comes first). Only the locations and integer values
  /// are read; the state stays the caller's.
  void add(const GlobalState& state, const Transition* const* edges);

  /// The earliest run along the states added whose last state satisfies
  /// `goal` (null: any valuation will do), with integer delays where the
  /// zones allow them. `allocator` holds the states a goal may split the last
  /// zone into. None when no run ends where the goal holds.
  std::optional<ConcreteRun> concretise(const TCTLExpression* goal,
                                        const Pointer<Allocator>& allocator) const;

private:
  /// A state of the trace and the operations of the step that leaves it.
  struct Stage {
    Pointer<GlobalState> state;           ///< discrete part and the replay's zone
    std::vector<const Transition*> edges; ///< to this state, null-terminated
  };

  /// Zones of the forward pass over the clocks and the time since the
  /// start, without extrapolation.
  struct Zones {
    std::vector<RationalZone> entered; ///< after the updates and invariants
    std::vector<RationalZone> left;    ///< after the delay, and the next guards
    std::vector<bool> delays;          ///< whether time may pass in each state
    /// The clock updates of each step, in the order they apply.
    std::vector<std::vector<RegionRecorder::reset_t>> updates;
  };
  Zones forward() const;
  /// Whether time may pass in `state`.
  bool mayDelay(const GlobalState& state) const;
  /// `zone` restricted to the invariants of `state`.
  void applyInvariants(const GlobalState& state, RationalZone& zone) const;
  /// Clock values, then the time since the start (index `clocks_`).
  using Point = std::vector<mpq_class>;
  /// The earliest point where the last state may be left with `goal`
  /// holding; none when there is none.
  std::optional<Point> earliestEnd(const Zones& zones, const TCTLExpression* goal,
                                   const Pointer<Allocator>& allocator) const;
  /// The point state k is entered at to be left at `leave` after a delay.
  Point entryPoint(const Zones& zones, std::size_t k, const Point& leave) const;
  /// The point state k - 1 is left at for step k to enter state k at
  /// `enter`.
  Point departurePoint(const Zones& zones, std::size_t k, const Point& enter) const;
  /// The pieces of `zone` where `goal` holds in the last state.
  std::vector<RationalZone> goalPieces(const RationalZone& zone, const TCTLExpression* goal,
                                       const Pointer<Allocator>& allocator) const;

  Pointer<System> system_;
  Pointer<GlobalState> start_;
  std::vector<Stage> stages_;
  unsigned clocks_; ///< the model's clocks, the reference clock included
};

} // namespace orvela
