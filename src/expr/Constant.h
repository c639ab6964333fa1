#pragma once
// A literal integer.

#include "expr/Expression.h"

namespace orvela {

/// A fixed scalar value; evaluates without a state.
class Constant : public AtomicExpression {
public:
  explicit Constant(int value);

  void accept(ExpressionVisitor& visitor) override;
  void evaluate(PublicState* state, int* out) const override;
  bool isConstant() const override;
  Interval getRange() const override;

  int getValue() const { return value_; }

private:
  int value_;
};

} // namespace orvela
