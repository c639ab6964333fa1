#pragma once
// The negation of the deadlock predicate: the valuations of a zone from
// which some move can still be taken, now or after a delay.

#include "checkers/CDDDeadlockExpr.h"

namespace orvela {

/// not deadlock. Prints "not " and the predicate.
class NotDeadlockExpr : public AbstractTCTLExpression {
public:
  explicit NotDeadlockExpr(const Pointer<CDDDeadlockExpr>& predicate);

  /// Passes the visitor to the predicate, then `visitNotDeadlockExpr`.
  void accept(TCTLVisitor& visitor) override;
  /// False: the predicate is its operand.
  bool atomic() const override;
  void print(std::ostream& out) const override;
  int getType() const override;
  /// The deadlock predicate.
  Pointer<TCTLExpression> negate() override;
  /// The predicate's `restrict` and `split` for the complement of the
  /// deadlocked part: the same contracts, the same single-zone restriction.
  bool evaluate(PublicState* state) const override;
  void evaluateMulti(StateList& states, Allocator* allocator) const override;

  const Pointer<CDDDeadlockExpr>& getPredicate() const { return predicate_; }

private:
  Pointer<CDDDeadlockExpr> predicate_;
};

} // namespace orvela
