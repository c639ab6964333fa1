#include "formula/AndExpr.h"

#include "formula/OrExpr.h"
#include "formula/TCTLVisitor.h"

namespace orvela {

AndExpr::AndExpr(const Pointer<TCTLExpression>& left, const Pointer<TCTLExpression>& right)
    : BinaryTCTLExpression(left, right, "and") {}

void AndExpr::accept(TCTLVisitor& visitor) {
  acceptOperands(visitor);
  visitor.visitAndExpr(this);
}

int AndExpr::getType() const { return andType; }

Pointer<TCTLExpression> AndExpr::negate() { return new OrExpr(left_->negate(), right_->negate()); }

bool AndExpr::evaluate(PublicState* state) const {
  return left_->evaluate(state) && right_->evaluate(state);
}

void AndExpr::evaluateMulti(StateList& states, Allocator* allocator) const {
  left_->evaluateMulti(states, allocator);
  right_->evaluateMulti(states, allocator);
}

void AndExpr::normalise(NormalForm& out) {
  NormalForm lefts;
  NormalForm rights;
  left_->normalise(lefts);
  right_->normalise(rights);
  out.reserve(out.size() + lefts.size() * rights.size());
  for (const Conjunction& a : lefts) {
    for (const Conjunction& b : rights) {
      Conjunction both;
      both.reserve(a.size() + b.size());
      both.insert(both.end(), a.begin(), a.end());
      both.insert(both.end(), b.begin(), b.end());
      out.push_back(std::move(both));
    }
  }
}

} // namespace orvela
