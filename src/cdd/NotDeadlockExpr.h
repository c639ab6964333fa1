#pragma once
// The negation of the deadlock predicate. Its own evaluation is not
// available; it exists so that A[] not deadlock, whose search looks for the
// negation, comes back to the deadlock predicate itself.

#include "cdd/CDDDeadlockExpr.h"

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
  /// Both throw `InputError` "Negation of the deadlock expression has not
  /// been implemented": the property is refused, the server goes on.
  bool evaluate(PublicState* state) const override;
  void evaluateMulti(StateList& states, Allocator* allocator) const override;

  const Pointer<CDDDeadlockExpr>& getPredicate() const { return predicate_; }

private:
  Pointer<CDDDeadlockExpr> predicate_;
};

} // namespace orvela
