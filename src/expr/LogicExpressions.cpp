#include "expr/LogicExpressions.h"

#include "expr/ExpressionVisitor.h"
#include "symbolic/PublicState.h"

#include <algorithm>

namespace orvela {

StateExpression::StateExpression(unsigned int process, unsigned int location)
    : process_(process), location_(location) {}

void StateExpression::accept(ExpressionVisitor& visitor) { visitor.visitStateExpression(this); }

void StateExpression::evaluate(PublicState* state, int* out) const {
  *out = state->getLocation(process_) == static_cast<int>(location_) ? 1 : 0;
}

bool StateExpression::isConstant() const { return false; }

Interval StateExpression::getRange() const { return {0, 1}; }

NotExpression::NotExpression(const Pointer<Expression>& operand) : operand_(operand) {}

void NotExpression::accept(ExpressionVisitor& visitor) {
  operand_->accept(visitor);
  visitor.visitNotExpression(this);
}

void NotExpression::evaluate(PublicState* state, int* out) const {
  *out = operand_->evaluateScalar(state) == 0 ? 1 : 0;
}

bool NotExpression::isConstant() const { return operand_->isConstant(); }

Interval NotExpression::getRange() const { return {0, 1}; }

AndExpression::AndExpression(const Pointer<Expression>& left, const Pointer<Expression>& right)
    : left_(left), right_(right) {}

void AndExpression::accept(ExpressionVisitor& visitor) {
  left_->accept(visitor);
  right_->accept(visitor);
  visitor.visitAndExpression(this);
}

void AndExpression::evaluate(PublicState* state, int* out) const {
  left_->evaluate(state, out);
  if (*out != 0)
    right_->evaluate(state, out);
}

bool AndExpression::isConstant() const { return left_->isConstant() && right_->isConstant(); }

// The value is 0 or the right operand's value, which need not be Boolean: the
// range is the hull of 0 and the right range, (0, 1) for conjunctions of guards.
Interval AndExpression::getRange() const {
  const Interval right = right_->getRange();
  return {std::min(0, right.first), std::max(0, right.second)};
}

void AndExpression::regClockUse(Process* process, std::set<int>& used, std::set<int>& reset) {
  left_->regClockUse(process, used, reset);
  right_->regClockUse(process, used, reset);
}

IfExpression::IfExpression(const Pointer<IntegerGuard>& condition,
                           const Pointer<Expression>& thenBranch,
                           const Pointer<Expression>& elseBranch)
    : condition_(condition), then_(thenBranch), else_(elseBranch) {}

void IfExpression::accept(ExpressionVisitor& visitor) {
  condition_->accept(visitor);
  then_->accept(visitor);
  else_->accept(visitor);
  visitor.visitIfExpression(this);
}

void IfExpression::evaluate(PublicState* state, int* out) const {
  if (condition_->evaluateScalar(state) != 0)
    then_->evaluate(state, out);
  else
    else_->evaluate(state, out);
}

bool IfExpression::isConstant() const { return false; }

Interval IfExpression::getRange() const {
  const Interval a = then_->getRange();
  const Interval b = else_->getRange();
  return {std::min(a.first, b.first), std::max(a.second, b.second)};
}

int IfExpression::getSize() const { return then_->getSize(); }

} // namespace orvela
