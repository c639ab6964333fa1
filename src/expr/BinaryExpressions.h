#pragma once
// Arithmetic on two scalars: sum, difference, product, quotient, minimum and
// maximum. Evaluation wraps around on overflow like 32-bit hardware; static
// ranges are computed exactly and widen to every value when evaluation could
// wrap.

#include "expr/EvaluationEvents.h"
#include "expr/Expression.h"

namespace orvela {

/// Abstract operator on two scalar operands.
class BinaryExpression : public AtomicExpression {
public:
  BinaryExpression(const Pointer<Expression>& left, const Pointer<Expression>& right);

  /// compute(left value, right value); an overflow is counted at the
  /// node's event site.
  void evaluate(PublicState* state, int* out) const override;
  bool isConstant() const override;
  /// getInnerRange(left range, right range).
  Interval getRange() const override;

  /// The operator on two values; sets `overflow` when the exact result does
  /// not fit in 32 bits (the answer has wrapped around), leaves it otherwise.
  virtual int compute(int left, int right, bool& overflow) const = 0;
  /// The operator on two intervals: an interval holding compute(l, r) for
  /// every l in `left` and r in `right`.
  virtual Interval getInnerRange(Interval left, Interval right) const = 0;

  const Pointer<Expression>& getLeft() const { return left_; }
  const Pointer<Expression>& getRight() const { return right_; }
  /// Makes the node count its overflows at `site`.
  void watch(EventSite site) { site_ = std::move(site); }

protected:
  /// Passes the visitor to the left and then the right operand.
  void acceptOperands(ExpressionVisitor& visitor);

private:
  Pointer<Expression> left_;
  Pointer<Expression> right_;
  EventSite site_;
};

/// left + right.
class Sum : public BinaryExpression {
public:
  using BinaryExpression::BinaryExpression;
  void accept(ExpressionVisitor& visitor) override;
  int compute(int left, int right, bool& overflow) const override;
  Interval getInnerRange(Interval left, Interval right) const override;
};

/// left - right.
class Difference : public BinaryExpression {
public:
  using BinaryExpression::BinaryExpression;
  void accept(ExpressionVisitor& visitor) override;
  int compute(int left, int right, bool& overflow) const override;
  Interval getInnerRange(Interval left, Interval right) const override;
};

/// left * right.
class Product : public BinaryExpression {
public:
  using BinaryExpression::BinaryExpression;
  void accept(ExpressionVisitor& visitor) override;
  int compute(int left, int right, bool& overflow) const override;
  Interval getInnerRange(Interval left, Interval right) const override;
};

/// left / right, truncated toward zero. Never traps: a quotient by 0 is 0
/// and INT_MIN / -1 wraps around to INT_MIN.
class Divide : public BinaryExpression {
public:
  using BinaryExpression::BinaryExpression;
  void accept(ExpressionVisitor& visitor) override;
  int compute(int left, int right, bool& overflow) const override;
  /// Sound for every pair of intervals: a divisor interval holding 0
  /// contributes the quotient 0, and a possible INT_MIN / -1 widens the range
  /// to every value.
  Interval getInnerRange(Interval left, Interval right) const override;
};

/// The smaller of left and right.
class MinExpression : public BinaryExpression {
public:
  using BinaryExpression::BinaryExpression;
  void accept(ExpressionVisitor& visitor) override;
  int compute(int left, int right, bool& overflow) const override;
  Interval getInnerRange(Interval left, Interval right) const override;
};

/// The larger of left and right.
class MaxExpression : public BinaryExpression {
public:
  using BinaryExpression::BinaryExpression;
  void accept(ExpressionVisitor& visitor) override;
  int compute(int left, int right, bool& overflow) const override;
  Interval getInnerRange(Interval left, Interval right) const override;
};

/// Unary minus as the parser builds it: a constant operand folds into
/// Constant(-value); anything else becomes Difference(Constant(0), operand).
Pointer<Expression> uminus(const Pointer<Expression>& operand);

} // namespace orvela
