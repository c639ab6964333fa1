#pragma once
// An integer or location condition used as a formula.

#include "expr/Expression.h"
#include "formula/TCTLExpression.h"

namespace orvela {

/// Holds where the integer expression is not 0; never changes the zone.
class TCTLExpressionAdaptor : public AbstractTCTLExpression {
public:
  explicit TCTLExpressionAdaptor(const Pointer<Expression>& expression);

  void accept(TCTLVisitor& visitor) override;
  int getType() const override;
  /// An adaptor over the logical negation of the expression.
  Pointer<TCTLExpression> negate() override;
  bool evaluate(PublicState* state) const override;
  /// The clocks the expression reads (`regClockUse`; its resets are
  /// discarded).
  void collectClocks(std::set<int>& clocks) override;

  const Pointer<Expression>& getExpression() const { return expression_; }

private:
  Pointer<Expression> expression_;
};

} // namespace orvela
