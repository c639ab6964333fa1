#pragma once
// Disjunction of two formulas.

#include "formula/BinaryTCTLExpression.h"

namespace orvela {

/// left or right; prints "(" left " or " right ")". The leads-to property
/// also keeps its two formulas as the operands of an `OrExpr`.
class OrExpr : public BinaryTCTLExpression {
public:
  OrExpr(const Pointer<TCTLExpression>& left, const Pointer<TCTLExpression>& right);

  void accept(TCTLVisitor& visitor) override;
  int getType() const override;
  /// The conjunction of the negated operands.
  Pointer<TCTLExpression> negate() override;
  /// Restricts the zone to the first disjunct, in left-to-right order, that
  /// leaves it non-empty: left is tried on a copy of the state, which replaces
  /// the state's zone when left holds and the copy's zone, closed, is not
  /// empty; otherwise right is evaluated on the state itself.
  bool evaluate(PublicState* state) const override;
  /// Splits every state: left filters the list, right filters unpacked copies
  /// of its states, and the right pieces follow the left ones. Where a left
  /// and a right piece come from the same state (same trace identifier) and
  /// one includes the other, the included one is dropped (the left one when
  /// they are equal) and goes back to the allocator.
  void evaluateMulti(StateList& states, Allocator* allocator) const override;
  /// Left's conjunctions, then right's.
  void normalise(NormalForm& out) override;
};

} // namespace orvela
