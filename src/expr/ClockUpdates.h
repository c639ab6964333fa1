#pragma once
// Updates of clocks through the state view: reset to a value, and shift.

#include "expr/Assignment.h"

namespace orvela {

/// clock := value. The clock is an expression whose value is a clock index
/// (a constant, or an element of a clock array).
class ClockAssign : public Assignment {
public:
  ClockAssign(const Pointer<Expression>& clock, int value);

  /// Visits only this node, not the clock expression.
  void accept(ExpressionVisitor& visitor) override;
  /// The state's `reset(clock, value)`; the output is not written.
  void evaluate(PublicState* state, int* out) const override;
  /// A definite reset: the clock when its expression denotes a single clock.
  /// An array element whose index varies resets one clock of several, none of
  /// them definitely, so nothing is added then.
  void regClockUse(Process* process, std::set<int>& used, std::set<int>& reset) override;

  /// The index of the clock reset in `state` (which is only read).
  int getVar(const PublicState* state) const;
  int getValue() const { return value_; }
  const Pointer<Expression>& getClock() const { return clock_; }

private:
  Pointer<Expression> clock_;
  int value_;
};

/// clock := clock + offset.
class ClockShiftReset : public Assignment {
public:
  ClockShiftReset(const Pointer<Expression>& clock, int offset);

  /// Visits only this node, not the clock expression.
  void accept(ExpressionVisitor& visitor) override;
  /// The state's `offset(clock, offset)`; the output is not written.
  void evaluate(PublicState* state, int* out) const override;
  /// Answers 4, the code of clocks.
  int getType() const;

  int getOffset() const { return offset_; }
  const Pointer<Expression>& getClock() const { return clock_; }

private:
  Pointer<Expression> clock_;
  int offset_;
};

} // namespace orvela
