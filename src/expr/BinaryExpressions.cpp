#include "expr/BinaryExpressions.h"

#include "expr/Constant.h"
#include "expr/ExpressionVisitor.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>

namespace orvela {

namespace {

// Interval bounds are combined in 64 bits, where no operation on two 32-bit
// values overflows, and then fitted back (fitInterval).

Interval hullOf(std::initializer_list<int64_t> values) {
  return fitInterval(std::min(values), std::max(values));
}

// Quotients of `left` by a divisor interval [lo, hi] that excludes 0. For a
// divisor of one sign, truncated division is monotone in each operand, so the
// extremes lie at the corners.
void includeQuotients(Interval left, int64_t lo, int64_t hi, int64_t& lower, int64_t& upper) {
  for (int64_t dividend : {int64_t{left.first}, int64_t{left.second}})
    for (int64_t divisor : {lo, hi}) {
      const int64_t quotient = dividend / divisor;
      lower = std::min(lower, quotient);
      upper = std::max(upper, quotient);
    }
}

} // namespace

BinaryExpression::BinaryExpression(const Pointer<Expression>& left,
                                   const Pointer<Expression>& right)
    : left_(left), right_(right) {}

void BinaryExpression::evaluate(PublicState* state, int* out) const {
  const int left = left_->evaluateScalar(state);
  const int right = right_->evaluateScalar(state);
  bool overflow = false;
  *out = compute(left, right, overflow);
  if (overflow) [[unlikely]]
    site_.note(EvaluationEvent::overflow);
}

bool BinaryExpression::isConstant() const { return left_->isConstant() && right_->isConstant(); }

Interval BinaryExpression::getRange() const {
  return getInnerRange(left_->getRange(), right_->getRange());
}

void BinaryExpression::acceptOperands(ExpressionVisitor& visitor) {
  left_->accept(visitor);
  right_->accept(visitor);
}

void Sum::accept(ExpressionVisitor& visitor) {
  acceptOperands(visitor);
  visitor.visitSum(this);
}

// The overflow builtins store the wrapped-around result.
int Sum::compute(int left, int right, bool& overflow) const {
  int sum;
  overflow = __builtin_add_overflow(left, right, &sum);
  return sum;
}

Interval Sum::getInnerRange(Interval a, Interval b) const {
  return fitInterval(int64_t{a.first} + b.first, int64_t{a.second} + b.second);
}

void Difference::accept(ExpressionVisitor& visitor) {
  acceptOperands(visitor);
  visitor.visitDifference(this);
}

int Difference::compute(int left, int right, bool& overflow) const {
  int difference;
  overflow = __builtin_sub_overflow(left, right, &difference);
  return difference;
}

Interval Difference::getInnerRange(Interval a, Interval b) const {
  return fitInterval(int64_t{a.first} - b.second, int64_t{a.second} - b.first);
}

void Product::accept(ExpressionVisitor& visitor) {
  acceptOperands(visitor);
  visitor.visitProduct(this);
}

int Product::compute(int left, int right, bool& overflow) const {
  int product;
  overflow = __builtin_mul_overflow(left, right, &product);
  return product;
}

Interval Product::getInnerRange(Interval a, Interval b) const {
  const int64_t alo = a.first, ahi = a.second;
  return hullOf({alo * b.first, ahi * b.second, alo * b.second, ahi * b.first});
}

void Divide::accept(ExpressionVisitor& visitor) {
  acceptOperands(visitor);
  visitor.visitDivide(this);
}

int Divide::compute(int left, int right, bool& overflow) const {
  overflow = left == INT_MIN && right == -1;
  return wrapDivide(left, right);
}

// The divisor interval is split into its negative and positive parts; a
// divisor of 0 yields 0 (wrapDivide). The 64-bit quotient INT_MIN / -1 lies
// outside the 32-bit range, so fitInterval widens that case to every value,
// as evaluation wraps it around.
Interval Divide::getInnerRange(Interval a, Interval b) const {
  assert(a.first <= a.second && b.first <= b.second && "malformed interval");
  int64_t lower = INT64_MAX;
  int64_t upper = INT64_MIN;
  if (b.first <= -1)
    includeQuotients(a, b.first, std::min(b.second, -1), lower, upper);
  if (b.second >= 1)
    includeQuotients(a, std::max(b.first, 1), b.second, lower, upper);
  if (contains(b, 0)) {
    lower = std::min<int64_t>(lower, 0);
    upper = std::max<int64_t>(upper, 0);
  }
  return fitInterval(lower, upper);
}

void MinExpression::accept(ExpressionVisitor& visitor) {
  acceptOperands(visitor);
  visitor.visitMinExpression(this);
}

int MinExpression::compute(int left, int right, bool&) const { return std::min(left, right); }

Interval MinExpression::getInnerRange(Interval a, Interval b) const {
  return {std::min(a.first, b.first), std::min(a.second, b.second)};
}

void MaxExpression::accept(ExpressionVisitor& visitor) {
  acceptOperands(visitor);
  visitor.visitMaxExpression(this);
}

int MaxExpression::compute(int left, int right, bool&) const { return std::max(left, right); }

Interval MaxExpression::getInnerRange(Interval a, Interval b) const {
  return {std::max(a.first, b.first), std::max(a.second, b.second)};
}

Pointer<Expression> uminus(const Pointer<Expression>& operand) {
  if (operand->isConstant())
    return new Constant(wrapNegate(operand->evaluateScalar(nullptr)));
  return new Difference(new Constant(0), operand);
}

} // namespace orvela
