#pragma once
// What zone normalisation needs to know about a model (and, when states are
// reused across checks, about the property): the largest constant each clock
// is compared with, and the difference constraints between two clocks.

#include "expr/ExpressionVisitor.h"
#include "formula/TCTLVisitor.h"
#include "model/ModelVisitor.h"
#include "symbolic/Zone.h"

#include <set>
#include <vector>

namespace orvela {

/// Gathered by visiting a system (its invariants, clock guards and clock
/// updates) and, optionally, a property. Equal when both the constants and the
/// constraints are equal.
///
/// Clock-to-clock updates carry constants backwards: after d := s + c, a bound
/// k on d is a bound k - c on s before the update, so s must not be widened
/// below that, and a difference constraint on d is one on s. The info keeps the
/// copies it has seen and applies this rule to every constant and constraint,
/// whenever it arrives. A clock shifted down by an update of its own is never
/// widened; a cycle of copies that keeps raising constants disables widening
/// altogether. Both give up termination guarantees rather than soundness.
class NormalisationInfo : public ModelVisitor, public ExpressionVisitor, public TCTLVisitor {
public:
  /// The constant of a clock that is never widened (the cost clock).
  static constexpr int unbounded = 1073741823;

  /// One constant 0 for each of the model's `clocks`; no constraint.
  explicit NormalisationInfo(int clocks = 0);

  /// The invariant's constraints count.
  void visitControlState(ControlState* location) override;
  /// The clock guard's constraints count, and the edge's clock updates.
  void visitTransition(Transition* edge) override;
  /// d := s: the constants and constraints of d reach s.
  void visitClockCopyReset(ClockCopyReset* copy) override;
  /// d := d + c right after a copy into d adds c to that copy; a shift of its
  /// own by a negative c leaves the clock unwidened.
  void visitClockShiftReset(ClockShiftReset* shift) override;
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
  /// destination := source + offset, seen on some edge.
  struct ClockCopy {
    int source;
    int destination;
    int offset;
  };

  void raise(int clock, long long constant, std::size_t depth = 0);
  void addConstraint(Zone::Constraint constraint, std::size_t depth = 0);
  void addCopy(ClockCopy copy);
  /// Chains of copies longer than the clock count went round a cycle that
  /// keeps growing.
  bool tooDeep(std::size_t depth);
  void disableWidening();

  std::vector<ClockCopy> copies_;
  /// Index in `copies_` of the copies made by the last copy update visited, so
  /// that the shift that completes d := s + c can add its offset.
  std::size_t lastCopyBegin_ = 0;
  const void* lastCopyDestination_ = nullptr;
  bool wideningDisabled_ = false;
};

/// The complement of x_i - x_j ≺ c: x_j - x_i ≺' -c with the opposite
/// strictness; no bound stays no bound.
Zone::Constraint negation(Zone::Constraint c);

} // namespace orvela
