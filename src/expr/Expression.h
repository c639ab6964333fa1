#pragma once
// The root of the expression trees that hold every integer- or Boolean-valued
// term of a model: guards, invariant side conditions, right-hand sides of
// updates, array indices and state predicates.
//
// Values are 32-bit integers; Booleans are 0 and 1, and any non-zero value
// counts as true where a condition is tested. An expression may denote a
// vector of values (a whole array or a sub-array): evaluation then writes
// getSize() consecutive integers. Children are shared through Pointer, never
// copied; trees are immutable once the parser has built them.

#include "base/Object.h"
#include "expr/Arithmetic.h"

#include <cassert>
#include <set>

namespace orvela {

class ExpressionVisitor;
class Process;
class PublicState;

/// Abstract integer expression.
class Expression : public Object {
public:
  /// Walks the tree: children first (where the class says so), then the
  /// visitor's hook for this class.
  virtual void accept(ExpressionVisitor& visitor) = 0;
  /// Writes getSize() integers to `out`. Updates change the state through the
  /// view; every other expression only reads it. A constant expression may be
  /// evaluated with a null state. Never allocates.
  virtual void evaluate(PublicState* state, int* out) const = 0;
  /// True when the value can never depend on the state.
  virtual bool isConstant() const = 0;
  /// An interval that holds every value the expression can take.
  virtual Interval getRange() const = 0;
  /// Number of integers `evaluate` writes.
  virtual int getSize() const = 0;
  /// Adds to `used` the clocks this expression reads before any reset, and to
  /// `reset` the clocks it resets on every evaluation. `process` is the owner
  /// of the edge (may be null).
  virtual void regClockUse(Process* process, std::set<int>& used, std::set<int>& reset) = 0;

  /// The value of a scalar expression (getSize() == 1, asserted).
  int evaluateScalar(PublicState* state) const {
    assert(getSize() == 1 && "scalar evaluation of a vector expression");
    int value;
    evaluate(state, &value);
    return value;
  }
};

/// Base of the expressions that involve no clock: `regClockUse` does nothing.
class AbstractExpression : public Expression {
public:
  void regClockUse(Process* process, std::set<int>& used, std::set<int>& reset) override;
};

/// Base of the expressions with a single scalar value.
class AtomicExpression : public AbstractExpression {
public:
  int getSize() const override;
};

} // namespace orvela
