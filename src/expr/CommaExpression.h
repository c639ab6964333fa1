#pragma once
// Sequencing of two expressions, used to join the updates of an edge.

#include "expr/Expression.h"

namespace orvela {

/// Evaluates `first` for its effect on the state (its value is discarded),
/// then `second` into the output. Size and range are the second's.
class CommaExpression : public Expression {
public:
  CommaExpression(const Pointer<Expression>& first, const Pointer<Expression>& second);

  void accept(ExpressionVisitor& visitor) override;
  void evaluate(PublicState* state, int* out) const override;
  bool isConstant() const override;
  Interval getRange() const override;
  int getSize() const override;
  /// First, then second, with the same sets.
  void regClockUse(Process* process, std::set<int>& used, std::set<int>& reset) override;

  const Pointer<Expression>& getFirst() const { return first_; }
  const Pointer<Expression>& getSecond() const { return second_; }

private:
  Pointer<Expression> first_;
  Pointer<Expression> second_;
};

} // namespace orvela
