#include "property/AndExpr.h"

#include "property/OrExpr.h"
#include "property/TCTLVisitor.h"

#include <ostream>

namespace orvela {

AndExpr::AndExpr(const Pointer<TCTLExpression>& left, const Pointer<TCTLExpression>& right)
    : left_(left), right_(right) {}

void AndExpr::accept(TCTLVisitor& visitor) {
  left_->accept(visitor);
  right_->accept(visitor);
  visitor.visitAndExpr(this);
}

bool AndExpr::atomic() const { return false; }

void AndExpr::print(std::ostream& out) const { out << '(' << *left_ << " and " << *right_ << ')'; }

int AndExpr::getType() const { return andType; }

Pointer<TCTLExpression> AndExpr::negate() { return new OrExpr(left_->negate(), right_->negate()); }

bool AndExpr::evaluate(PublicState* state) const {
  return left_->evaluate(state) && right_->evaluate(state);
}

void AndExpr::evaluateMulti(StateList& states, Allocator* allocator) const {
  left_->evaluateMulti(states, allocator);
  right_->evaluateMulti(states, allocator);
}

void AndExpr::collectClocks(std::set<int>& clocks) {
  left_->collectClocks(clocks);
  right_->collectClocks(clocks);
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
