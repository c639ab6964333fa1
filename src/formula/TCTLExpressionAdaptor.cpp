#include "formula/TCTLExpressionAdaptor.h"

#include "expr/LogicExpressions.h"
#include "formula/TCTLVisitor.h"

namespace orvela {

TCTLExpressionAdaptor::TCTLExpressionAdaptor(const Pointer<Expression>& expression)
    : expression_(expression) {}

void TCTLExpressionAdaptor::accept(TCTLVisitor& visitor) {
  visitor.visitTCTLExpressionAdaptor(this);
}

int TCTLExpressionAdaptor::getType() const { return adaptorType; }

Pointer<TCTLExpression> TCTLExpressionAdaptor::negate() {
  return new TCTLExpressionAdaptor(new NotExpression(expression_));
}

bool TCTLExpressionAdaptor::evaluate(PublicState* state) const {
  return expression_->evaluateScalar(state) != 0;
}

void TCTLExpressionAdaptor::collectClocks(std::set<int>& clocks) {
  std::set<int> resets;
  expression_->regClockUse(nullptr, clocks, resets);
}

} // namespace orvela
