#include "formula/ClockExpr.h"

#include "base/Exceptions.h"
#include "expr/BinaryExpressions.h"
#include "expr/ClockRange.h"
#include "expr/Constant.h"
#include "formula/TCTLVisitor.h"
#include "symbolic/PublicState.h"
#include "symbolic/UnpackedRegion.h"

namespace orvela {

namespace {

/// The raw form of a bound. The parsers keep bounds within
/// `maximalClockConstant`; beyond it the bound saturates like a sum of
/// bounds, computed without overflow.
int32_t rawOf(int bound, bool strict) {
  const int64_t raw = int64_t(bound) * 2 + (strict ? 0 : 1);
  if (raw >= rawInfiniteFrom)
    return rawInfinity;
  return int32_t(raw < rawLowestBound ? rawLowestBound : raw);
}

bool isStrictOp(OpType op) { return op == opLess || op == opGreater; }

} // namespace

ClockExpr::ClockExpr(const Pointer<Expression>& x, OpType op, const Pointer<Expression>& y, int c) {
  switch (op) {
  case opLessEqual:
  case opLess:
    i_ = x;
    j_ = y;
    bound_ = new Constant(c);
    break;
  case opGreaterEqual:
  case opGreater:
    i_ = y;
    j_ = x;
    bound_ = new Constant(wrapNegate(c));
    break;
  default:
    throw Bug("Unsupported operation for clock expression");
  }
  strict_ = isStrictOp(op);
}

ClockExpr::ClockExpr(const Pointer<Expression>& i, const Pointer<Expression>& j,
                     const Pointer<Expression>& bound, bool strict)
    : i_(i), j_(j), bound_(bound), strict_(strict) {}

void ClockExpr::accept(TCTLVisitor& visitor) { visitor.visitClockExpr(this); }

int ClockExpr::getType() const { return clockType; }

Pointer<TCTLExpression> ClockExpr::negate() {
  Pointer<Expression> negated = new Product(bound_, new Constant(-1));
  return new ClockExpr(j_, i_, negated, !strict_);
}

bool ClockExpr::evaluate(PublicState* state) const {
  const int bound = bound_->evaluateScalar(state);
  const int j = j_->evaluateScalar(state);
  const int i = i_->evaluateScalar(state);
  return state->tighten(unsigned(i), unsigned(j), rawOf(bound, strict_));
}

void ClockExpr::collectClocks(std::set<int>& clocks) {
  insertClocks(i_->getRange(), clocks);
  insertClocks(j_->getRange(), clocks);
}

bool ClockExpr::evaluateFuzzy(PublicState* state, UnpackedRegion* region) const {
  const int i = i_->evaluateScalar(state);
  const int j = j_->evaluateScalar(state);
  const int bound = bound_->evaluateScalar(state);
  const bool strict = i != 0 && strict_;
  if (!region->tightenRaw(i, j, rawOf(bound, strict)))
    return false;
  region->close();
  return !region->isEmpty();
}

} // namespace orvela
