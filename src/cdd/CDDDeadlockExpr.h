#pragma once
// The property predicate "deadlock": the valuations of a state's zone from
// which no move of the system can ever be taken. That set is in general not
// convex, so it is computed as a clock difference diagram.

#include "cdd/lib/cdd.h"
#include "engine/Pipeline.h"
#include "engine/SuccessorPair.h"
#include "model/System.h"
#include "property/TCTLExpression.h"
#include "symbolic/Allocator.h"

namespace orvela {

class Region;

/// Holds in a state when some valuation of its zone is deadlocked: neither
/// now nor after any delay the state's invariants allow can a move be
/// taken. Never changes the zone.
///
/// The moves come from a transition filter feeding a successor filter, built
/// once for the system with their own allocator. They are taken from the
/// valuations that waiting in the state reaches: the zone's future within the
/// state's invariants, or the zone itself when time cannot pass (urgent,
/// committed, or an urgent synchronisation enabled). Every successor that
/// meets the invariants of its target locations is taken back through its
/// edges, restricted to those valuations again, and extended to its past
/// when time passes; what is left of the zone when all of them are removed
/// is the deadlocked part. The diagram library must be running with the
/// system's clocks.
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
  /// Whether the deadlocked part of the state's zone is not empty. The state
  /// is not changed, so `evaluateMulti` keeps a state whole or drops it.
  /// Throws `RuntimeError` when the diagram library fails.
  bool evaluate(PublicState* state) const override;

  /// The deadlocked valuations of the state's zone, reduced: `cddfalse`
  /// when there are none. Throws `RuntimeError` when the diagram library
  /// fails (for instance when it is not running).
  cdd deadlockedPart(const GlobalState& state) const;

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

  Pointer<System> system_;
  Pointer<Allocator> allocator_;
  Pointer<Filter> transitions_;
  Pointer<Filter> successors_;
  Pointer<PureSink> sink_;
  mutable Evaluation* current_ = nullptr;
};

} // namespace orvela
