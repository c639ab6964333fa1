#pragma once
// What zone normalisation needs to know about a model (and, when states are
// reused across checks, about the property): the largest constant each clock
// is compared with, and the difference constraints between two clocks.

#include "model/ExpressionVisitor.h"
#include "model/ModelVisitor.h"
#include "property/TCTLVisitor.h"
#include "symbolic/Zone.h"

#include <set>
#include <vector>

namespace orvela {

/// Gathered by visiting a system (its invariants and clock guards) and,
/// optionally, a property. Equal when both the constants and the constraints
/// are equal.
class NormalisationInfo : public ModelVisitor, public ExpressionVisitor, public TCTLVisitor {
public:
  /// The constant of a clock that is never widened (the cost clock).
  static constexpr int unbounded = 1073741823;

  /// One constant 0 per clock of the clock table; no constraint.
  NormalisationInfo();

  /// The cost clock, if any, is never widened; says so on standard error
  /// ("<constant> is the max const of tau").
  void visitSystem(System* system) override;
  /// The invariant's constraints count.
  void visitControlState(ControlState* location) override;
  /// The clock guard's constraints count.
  void visitTransition(Transition* edge) override;
  /// x_i - x_j < or <= c, over every clock and constant the expressions may
  /// take: a bound on one clock raises that clock's constant; a difference
  /// raises the constant of x_i by the largest non-negative c and that of x_j
  /// by the largest non-positive -c, and records the constraint for every
  /// c >= 0 possible (when some is) and its negation (when some c <= 0 is).
  void visitClockExpr(ClockExpr* constraint) override;

  bool operator==(const NormalisationInfo& other) const {
    return maxConst == other.maxConst && constraints == other.constraints;
  }
  bool operator!=(const NormalisationInfo& other) const { return !(*this == other); }

  /// The largest constant against which each clock is compared.
  std::vector<int> maxConst;
  /// The difference constraints and their negations, as (i, j, raw bound).
  std::set<Zone::Constraint> constraints;

private:
  void raise(int clock, long long constant);
};

/// The complement of x_i - x_j ≺ c: x_j - x_i ≺' -c with the opposite
/// strictness; no bound stays no bound.
Zone::Constraint negation(Zone::Constraint c);

} // namespace orvela
