#include "expr/Assignment.h"

#include "expr/ExpressionVisitor.h"
#include "symbolic/PublicState.h"

namespace orvela {

bool Assignment::isConstant() const { return false; }

Interval Assignment::getRange() const { return {0, 0}; }

int Assignment::getSize() const { return 1; }

void Assignment::regClockUse(Process*, std::set<int>&, std::set<int>&) {}

IntegerAssign::IntegerAssign(const Pointer<Expression>& destination,
                             const Pointer<Expression>& source)
    : destination_(destination), source_(source) {}

void IntegerAssign::accept(ExpressionVisitor& visitor) { visitor.visitIntegerAssign(this); }

void IntegerAssign::evaluate(PublicState* state, int*) const {
  const int position = destination_->evaluateScalar(state);
  source_->evaluate(state, state->getIntegerReference() + position);
}

ConditionalReset::ConditionalReset(const Pointer<Expression>& condition,
                                   const Pointer<Expression>& assignment)
    : condition_(condition), assignment_(assignment) {}

void ConditionalReset::accept(ExpressionVisitor& visitor) {
  condition_->accept(visitor);
  assignment_->accept(visitor);
  visitor.visitConditionalReset(this);
}

void ConditionalReset::evaluate(PublicState* state, int* out) const {
  if (condition_->evaluateScalar(state) != 0)
    assignment_->evaluate(state, out);
}

Interval ConditionalReset::getRange() const { return assignment_->getRange(); }

int ConditionalReset::getSize() const { return assignment_->getSize(); }

void ConditionalReset::regClockUse(Process* process, std::set<int>& used, std::set<int>&) {
  std::set<int> conditionalResets;
  assignment_->regClockUse(process, used, conditionalResets);
}

} // namespace orvela
