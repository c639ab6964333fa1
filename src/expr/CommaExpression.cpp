#include "expr/CommaExpression.h"

#include "expr/ExpressionVisitor.h"

#include <vector>

namespace orvela {

namespace {
// The discarded value of an update has one integer; a wider first part is
// possible but never built by the parser and may use the heap.
constexpr int stackScratch = 16;
} // namespace

CommaExpression::CommaExpression(const Pointer<Expression>& first,
                                 const Pointer<Expression>& second)
    : first_(first), second_(second) {}

void CommaExpression::accept(ExpressionVisitor& visitor) {
  first_->accept(visitor);
  second_->accept(visitor);
  visitor.visitCommaExpression(this);
}

void CommaExpression::evaluate(PublicState* state, int* out) const {
  const int size = first_->getSize();
  if (size <= stackScratch) {
    int scratch[stackScratch];
    first_->evaluate(state, scratch);
  } else {
    std::vector<int> scratch(size);
    first_->evaluate(state, scratch.data());
  }
  second_->evaluate(state, out);
}

bool CommaExpression::isConstant() const { return first_->isConstant() && second_->isConstant(); }

Interval CommaExpression::getRange() const { return second_->getRange(); }

int CommaExpression::getSize() const { return second_->getSize(); }

void CommaExpression::regClockUse(Process* process, std::set<int>& used, std::set<int>& reset) {
  first_->regClockUse(process, used, reset);
  second_->regClockUse(process, used, reset);
}

} // namespace orvela
