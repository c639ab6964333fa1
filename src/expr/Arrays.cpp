#include "expr/Arrays.h"

#include "base/Exceptions.h"
#include "expr/BinaryExpressions.h"
#include "expr/Constant.h"
#include "expr/ExpressionVisitor.h"
#include "symbolic/PublicState.h"

#include <algorithm>

namespace orvela {

Array::Array(int size) : totalSize_(size), elementCount_(size) {}

int Array::getSize() const { return elementCount_; }

int Array::getIndex(PublicState* state) const { return index_ ? index_->evaluateScalar(state) : 0; }

bool Array::isIndexConstant() const { return !index_ || index_->isConstant(); }

void Array::refine(const Pointer<Expression>& index, int dimension) {
  // A dimension comes from the model text; dividing by it must not trap.
  if (dimension < 1)
    throw InputError("Array dimension %d is not positive", dimension);
  elementCount_ /= dimension;
  Pointer<Expression> offset = new Product(index, new Constant(elementCount_));
  if (index_)
    index_ = new Sum(index_, offset);
  else
    index_ = offset;
}

ConstantArray::ConstantArray(int* values, int size) : Array(size), values_(values) {}

ConstantArray::ConstantArray(std::shared_ptr<const std::vector<int>> values)
    : Array(static_cast<int>(values->size())), owner_(std::move(values)), values_(owner_->data()) {}

void ConstantArray::accept(ExpressionVisitor& visitor) { visitor.visitConstantArray(this); }

void ConstantArray::evaluate(PublicState* state, int* out) const {
  const int index = getIndex(state);
  checkBounds(index);
  std::copy_n(values_ + index, getSize(), out);
}

bool ConstantArray::isConstant() const { return isIndexConstant(); }

Interval ConstantArray::getRange() const {
  const int size = getTotalSize();
  if (size <= 0)
    return {0, 0};
  const auto [lowest, highest] = std::minmax_element(values_, values_ + size);
  return {*lowest, *highest};
}

Variable::Variable(int base, int size, int lower, int upper)
    : Array(size), base_(base), domain_(lower, upper) {}

void Variable::accept(ExpressionVisitor& visitor) { visitor.visitVariable(this); }

void Variable::evaluate(PublicState* state, int* out) const {
  const int index = getIndex(state);
  checkBounds(index);
  std::copy_n(state->getIntegerReference() + base_ + index, getSize(), out);
}

bool Variable::isConstant() const { return false; }

Interval Variable::getRange() const { return domain_; }

} // namespace orvela
