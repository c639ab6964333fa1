#pragma once
// Guards: Boolean expressions that test the integer valuation.

#include "expr/Expression.h"
#include "expr/OpType.h"
#include "expr/TypeCodes.h"

namespace orvela {

/// Abstract guard: a non-constant scalar in (0, 1) that involves no clock.
class Guard : public Expression {
public:
  bool isConstant() const override;
  Interval getRange() const override;
  int getSize() const override;
  void regClockUse(Process* process, std::set<int>& used, std::set<int>& reset) override;
  /// Symbol-table code of the kind of value the guard tests.
  virtual int getType() const = 0;
};

/// left op right over two scalar integer expressions: 1 when the comparison
/// holds, else 0.
class IntegerGuard : public Guard {
public:
  IntegerGuard(const Pointer<Expression>& left, OpType op, const Pointer<Expression>& right);

  /// Visits only this node (`visitIntegerGuard`), not the operands.
  void accept(ExpressionVisitor& visitor) override;
  /// Throws `Bug` when the comparison code is not one of the six `OpType`s.
  void evaluate(PublicState* state, int* out) const override;
  /// Answers 5, the code of integers.
  int getType() const override;

  const Pointer<Expression>& getLeft() const { return left_; }
  OpType getOperator() const { return op_; }
  const Pointer<Expression>& getRight() const { return right_; }

private:
  Pointer<Expression> left_;
  OpType op_;
  Pointer<Expression> right_;
};

} // namespace orvela
