#include "expr/Constant.h"

#include "expr/ExpressionVisitor.h"

namespace orvela {

Constant::Constant(int value) : value_(value) {}

void Constant::accept(ExpressionVisitor& visitor) { visitor.visitConstant(this); }

void Constant::evaluate(PublicState*, int* out) const { *out = value_; }

bool Constant::isConstant() const { return true; }

Interval Constant::getRange() const { return {value_, value_}; }

} // namespace orvela
