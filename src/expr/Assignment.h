#pragma once
// Updates of the integer valuation, and the conditional update.

#include "expr/Expression.h"

namespace orvela {

/// Abstract update: evaluated for its effect on the state. Not constant,
/// range (0, 0), size 1; what it writes to the output is unspecified.
class Assignment : public Expression {
public:
  bool isConstant() const override;
  Interval getRange() const override;
  int getSize() const override;
  /// Nothing; clock updates override.
  void regClockUse(Process* process, std::set<int>& used, std::set<int>& reset) override;
};

/// Writes the source's value(s) into the integer vector from the position
/// the destination evaluates to; a vector source fills consecutive cells.
class IntegerAssign : public Assignment {
public:
  IntegerAssign(const Pointer<Expression>& destination, const Pointer<Expression>& source);

  /// Visits only this node, not the operands.
  void accept(ExpressionVisitor& visitor) override;
  /// The output is not written.
  void evaluate(PublicState* state, int* out) const override;

  const Pointer<Expression>& getDestination() const { return destination_; }
  const Pointer<Expression>& getSource() const { return source_; }

private:
  Pointer<Expression> destination_;
  Pointer<Expression> source_;
};

/// Performs the update only when the condition is non-zero; otherwise
/// neither the state nor the output changes. Never a definite clock reset.
class ConditionalReset : public Assignment {
public:
  ConditionalReset(const Pointer<Expression>& condition, const Pointer<Expression>& assignment);

  void accept(ExpressionVisitor& visitor) override;
  void evaluate(PublicState* state, int* out) const override;
  /// The update's range.
  Interval getRange() const override;
  /// The update's size.
  int getSize() const override;
  /// The update's clock uses count; its resets are discarded, since they
  /// happen only when the condition holds.
  void regClockUse(Process* process, std::set<int>& used, std::set<int>& reset) override;

  const Pointer<Expression>& getCondition() const { return condition_; }
  const Pointer<Expression>& getAssignment() const { return assignment_; }

private:
  Pointer<Expression> condition_;
  Pointer<Expression> assignment_;
};

} // namespace orvela
