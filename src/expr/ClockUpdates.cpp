#include "expr/ClockUpdates.h"

#include "expr/ExpressionVisitor.h"
#include "expr/TypeCodes.h"
#include "symbolic/PublicState.h"

namespace orvela {

ClockAssign::ClockAssign(const Pointer<Expression>& clock, int value)
    : clock_(clock), value_(value) {}

void ClockAssign::accept(ExpressionVisitor& visitor) { visitor.visitClockAssign(this); }

void ClockAssign::evaluate(PublicState* state, int*) const {
  state->reset(static_cast<unsigned int>(getVar(state)), value_);
}

// Resets kill a clock's activity in the active-clock analysis; claiming a
// reset that may not happen would drop a clock that still matters.
void ClockAssign::regClockUse(Process*, std::set<int>&, std::set<int>& reset) {
  const Interval clocks = clock_->getRange();
  if (clocks.first == clocks.second)
    reset.insert(clocks.first);
}

// A clock expression only reads the state, so evaluating it through a view
// of a const state is safe.
int ClockAssign::getVar(const PublicState* state) const {
  return clock_->evaluateScalar(const_cast<PublicState*>(state));
}

ClockShiftReset::ClockShiftReset(const Pointer<Expression>& clock, int offset)
    : clock_(clock), offset_(offset) {}

void ClockShiftReset::accept(ExpressionVisitor& visitor) { visitor.visitClockShiftReset(this); }

void ClockShiftReset::evaluate(PublicState* state, int*) const {
  const int clock = clock_->evaluateScalar(state);
  state->offset(static_cast<unsigned int>(clock), offset_);
}

int ClockShiftReset::getType() const { return clockTypeCode; }

} // namespace orvela
