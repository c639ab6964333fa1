#include "expr/Guard.h"

#include "base/Exceptions.h"
#include "expr/ExpressionVisitor.h"

namespace orvela {

bool Guard::isConstant() const { return false; }

Interval Guard::getRange() const { return {0, 1}; }

int Guard::getSize() const { return 1; }

void Guard::regClockUse(Process*, std::set<int>&, std::set<int>&) {}

IntegerGuard::IntegerGuard(const Pointer<Expression>& left, OpType op,
                           const Pointer<Expression>& right)
    : left_(left), op_(op), right_(right) {}

void IntegerGuard::accept(ExpressionVisitor& visitor) { visitor.visitIntegerGuard(this); }

void IntegerGuard::evaluate(PublicState* state, int* out) const {
  const int left = left_->evaluateScalar(state);
  const int right = right_->evaluateScalar(state);
  bool holds;
  switch (op_) {
  case opGreaterEqual:
    holds = left >= right;
    break;
  case opLessEqual:
    holds = left <= right;
    break;
  case opLess:
    holds = left < right;
    break;
  case opGreater:
    holds = left > right;
    break;
  case opEqual:
    holds = left == right;
    break;
  case opNotEqual:
    holds = left != right;
    break;
  default:
    throw Bug("IntegerGuard::eval() -- Unknown operation in guard.");
  }
  *out = holds ? 1 : 0;
}

int IntegerGuard::getType() const { return integerTypeCode; }

} // namespace orvela
