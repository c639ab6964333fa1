#pragma once
// Scalar expressions over conditions: location tests, negation, conjunction
// and the conditional choice.

#include "expr/Guard.h"

namespace orvela {

/// 1 when process `process` is in location `location`, else 0.
class StateExpression : public AtomicExpression {
public:
  StateExpression(unsigned int process, unsigned int location);

  void accept(ExpressionVisitor& visitor) override;
  void evaluate(PublicState* state, int* out) const override;
  bool isConstant() const override;
  Interval getRange() const override;

  unsigned int getProcess() const { return process_; }
  unsigned int getLocation() const { return location_; }

private:
  unsigned int process_;
  unsigned int location_;
};

/// 1 when the operand is 0, else 0.
class NotExpression : public AtomicExpression {
public:
  explicit NotExpression(const Pointer<Expression>& operand);

  void accept(ExpressionVisitor& visitor) override;
  void evaluate(PublicState* state, int* out) const override;
  bool isConstant() const override;
  Interval getRange() const override;

private:
  Pointer<Expression> operand_;
};

/// Conjunction with short cut: 0 when the left operand is 0 (the right one is
/// then not evaluated), otherwise the right operand's value itself, not
/// necessarily 1.
class AndExpression : public AtomicExpression {
public:
  AndExpression(const Pointer<Expression>& left, const Pointer<Expression>& right);

  void accept(ExpressionVisitor& visitor) override;
  void evaluate(PublicState* state, int* out) const override;
  bool isConstant() const override;
  /// The hull of 0 and the right operand's range: (0, 1) over guards.
  Interval getRange() const override;
  /// Left, then right, with the same sets.
  void regClockUse(Process* process, std::set<int>& used, std::set<int>& reset) override;

private:
  Pointer<Expression> left_;
  Pointer<Expression> right_;
};

/// condition ? then : else. The branches are compatible (both scalars, or
/// arrays of equal shape); the value has the branches' size.
class IfExpression : public AtomicExpression {
public:
  IfExpression(const Pointer<IntegerGuard>& condition, const Pointer<Expression>& thenBranch,
               const Pointer<Expression>& elseBranch);

  void accept(ExpressionVisitor& visitor) override;
  void evaluate(PublicState* state, int* out) const override;
  bool isConstant() const override;
  /// The hull of the two branches' ranges.
  Interval getRange() const override;
  /// The then-branch's size: the number of integers evaluation writes.
  int getSize() const override;

private:
  Pointer<IntegerGuard> condition_;
  Pointer<Expression> then_;
  Pointer<Expression> else_;
};

} // namespace orvela
