#pragma once
// Conjunction of two formulas.

#include "formula/BinaryTCTLExpression.h"

namespace orvela {

/// left and right; prints "(" left " and " right ")".
class AndExpr : public BinaryTCTLExpression {
public:
  AndExpr(const Pointer<TCTLExpression>& left, const Pointer<TCTLExpression>& right);

  void accept(TCTLVisitor& visitor) override;
  int getType() const override;
  /// The disjunction of the negated operands.
  Pointer<TCTLExpression> negate() override;
  /// Left, then right only if left held.
  bool evaluate(PublicState* state) const override;
  /// Left filters the list, then right filters what is left.
  void evaluateMulti(StateList& states, Allocator* allocator) const override;
  /// Every conjunction of left's normal form joined with every conjunction of
  /// right's, left-major: (a or b) and (c or d) gives [a, c], [a, d], [b, c],
  /// [b, d].
  void normalise(NormalForm& out) override;
};

} // namespace orvela
