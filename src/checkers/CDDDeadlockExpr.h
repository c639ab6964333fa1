#pragma once
// The property predicate "deadlock": the valuations of a state's zone from
// which no move of the system can ever be taken. That set is in general not
// convex, so it is computed as a clock difference diagram.

#include "cddlib/cdd.h"
#include "engine/Pipeline.h"
#include "engine/SuccessorPair.h"
#include "formula/TCTLExpression.h"
#include "language/ParseProperty.h"
#include "model/System.h"
#include "symbolic/Allocator.h"

#include <memory>

namespace orvela {

class Region;

/// Holds at the deadlocked valuations of a state: those from which neither
/// now nor after any delay the state's invariants allow can a move be taken.
/// The deadlocked part of a zone is in general a union of zones, so the
/// predicate and its negation split states into pieces: formulas that
/// contain either must be evaluated with `evaluateMulti` (see
/// `containsDeadlock`).
///
/// The moves come from a transition filter feeding a successor filter, built
/// once for the system with their own allocator. They are taken from the
/// valuations that waiting in the state reaches: the zone's future within the
/// state's invariants, or the zone itself when time cannot pass (urgent,
/// committed, or an urgent synchronisation enabled). Every successor that
/// meets the invariants of its target locations is taken back through its
/// edges, restricted to those valuations again, and extended to its past
/// when time passes; what is left of the zone when all of them are removed
/// is the deadlocked part. The predicate owns the diagram library these
/// diagrams live in, so that every model and search has its own.
class CDDDeadlockExpr : public AbstractTCTLExpression {
public:
  explicit CDDDeadlockExpr(const Pointer<System>& system);
  CDDDeadlockExpr(const CDDDeadlockExpr&) = delete;
  CDDDeadlockExpr& operator=(const CDDDeadlockExpr&) = delete;
  ~CDDDeadlockExpr() override;

  /// `visitCDDDeadlockExpr`.
  void accept(TCTLVisitor& visitor) override;
  int getType() const override;
  /// A `NotDeadlockExpr` over this predicate.
  Pointer<TCTLExpression> negate() override;
  /// Restricts the zone to its deadlocked part when that is empty (answers
  /// false), the whole zone or one zone. Throws `Bug` when the part is a
  /// union of several zones, which one state cannot hold: such formulas go
  /// through `evaluateMulti`. Throws `RuntimeError` when the diagram library
  /// fails.
  bool evaluate(PublicState* state) const override;
  /// Replaces every state by the pieces of its zone that are deadlocked:
  /// none, the state itself when all of it is, or disjoint closed zones.
  void evaluateMulti(StateList& states, Allocator* allocator) const override;

  /// The deadlocked valuations of the state's zone, which must be closed,
  /// reduced: `cddfalse` when there are none. The diagram belongs to
  /// `diagrams` and must not outlive this predicate. Throws `RuntimeError`
  /// when the diagram library fails, `std::bad_alloc` when memory is short.
  cdd deadlockedPart(const GlobalState& state) const;
  /// The predicate's diagram library, made on first use for the clocks of
  /// `state`'s zone (all states of a system have the same clocks).
  CddLibrary& diagrams(const GlobalState& state) const;
  /// `evaluateMulti` for the deadlocked pieces (`deadlocked`) or for the
  /// others: the pieces where the predicate's negation holds.
  void split(StateList& states, Allocator* allocator, bool deadlocked) const;
  /// `evaluate` for the predicate (`deadlocked`) or its negation.
  bool restrict(GlobalState& state, bool deadlocked) const;

  const Pointer<System>& getSystem() const { return system_; }

private:
  /// The evaluation in progress: its source state, the valuations that
  /// waiting in it reaches, and what remains of its zone.
  struct Evaluation {
    const GlobalState* source;
    const Region* reach;
    bool timePasses;
    cdd remaining;
  };

  /// The sink of the successors: removes the valuations that lead into the
  /// successor from the evaluation's remainder; gives the successor back.
  bool subtract(SuccessorPair* pair) const;

  /// Declared first so that it goes last: no member holds a diagram, but the
  /// library must outlive every handle.
  mutable std::unique_ptr<CddLibrary> diagrams_;
  Pointer<System> system_;
  Pointer<Allocator> allocator_;
  Pointer<Filter> transitions_;
  Pointer<Filter> successors_;
  Pointer<PureSink> sink_;
  mutable Evaluation* current_ = nullptr;
};

/// Whether the formula contains the deadlock predicate or its negation, and
/// so must be evaluated with `evaluateMulti`.
bool containsDeadlock(TCTLExpression& formula);

/// The factory a property parse needs for the atom "deadlock" of `system`:
/// each call builds a new predicate.
DeadlockFactory deadlockFactory(const Pointer<System>& system);

} // namespace orvela
