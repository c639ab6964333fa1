#include "expr/Range.h"

#include "expr/ExpressionVisitor.h"

namespace orvela {

Range::Range(const Pointer<Expression>& operand, int count, int lower, int upper, int line)
    : operand_(operand), count_(count), lower_(lower), upper_(upper), line_(line) {
  assert(count == operand->getSize() && "a range clamps every value of its operand");
}

void Range::accept(ExpressionVisitor& visitor) { visitor.visitRange(this); }

void Range::evaluate(PublicState* state, int* out) const {
  operand_->evaluate(state, out);
  for (int i = 0; i < count_; ++i) {
    const int clamped = clampInto(out[i], lower_, upper_);
    if (clamped != out[i]) [[unlikely]] {
      site_.note(kind_);
      out[i] = clamped;
    }
  }
}

bool Range::isConstant() const { return operand_->isConstant(); }

Interval Range::getRange() const { return {lower_, upper_}; }

int Range::getSize() const { return count_; }

} // namespace orvela
