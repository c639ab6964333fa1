#pragma once
// Run-time domain check: keeps values the parser could not prove in bounds
// inside them.

#include "expr/EvaluationEvents.h"
#include "expr/Expression.h"

namespace orvela {

/// Evaluates the operand and clamps each of its `count` values into
/// [lower, upper]. Contains out-of-range array indices and assignments.
class Range : public AbstractExpression {
public:
  /// `count` is the operand's size (asserted); `line` is the source line of
  /// the checked text. With lower > upper (a model already reported as
  /// erroneous) every value becomes `upper`.
  Range(const Pointer<Expression>& operand, int count, int lower, int upper, int line);

  /// Visits only this node, not the operand.
  void accept(ExpressionVisitor& visitor) override;
  void evaluate(PublicState* state, int* out) const override;
  bool isConstant() const override;
  /// (lower, upper).
  Interval getRange() const override;
  /// The count of clamped values.
  int getSize() const override;

  const Pointer<Expression>& getOperand() const { return operand_; }
  int getLine() const { return line_; }
  /// Makes the node count each value it clamps as `kind` at `site`.
  void watch(EventSite site, EvaluationEvent kind) {
    site_ = std::move(site);
    kind_ = kind;
  }

private:
  Pointer<Expression> operand_;
  int count_;
  int lower_;
  int upper_;
  int line_;
  EventSite site_;
  EvaluationEvent kind_ = EvaluationEvent::valueClamped;
};

} // namespace orvela
