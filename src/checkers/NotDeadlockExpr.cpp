#include "checkers/NotDeadlockExpr.h"

#include "formula/TCTLVisitor.h"
#include "symbolic/GlobalState.h"

#include <ostream>

namespace orvela {

NotDeadlockExpr::NotDeadlockExpr(const Pointer<CDDDeadlockExpr>& predicate)
    : predicate_(predicate) {}

void NotDeadlockExpr::accept(TCTLVisitor& visitor) {
  predicate_->accept(visitor);
  visitor.visitNotDeadlockExpr(this);
}

bool NotDeadlockExpr::atomic() const { return false; }

void NotDeadlockExpr::print(std::ostream& out) const { out << "not " << *predicate_; }

int NotDeadlockExpr::getType() const { return deadlockType; }

Pointer<TCTLExpression> NotDeadlockExpr::negate() { return predicate_; }

bool NotDeadlockExpr::evaluate(PublicState* state) const {
  return predicate_->restrict(*state->getGlobalState(), false);
}

void NotDeadlockExpr::evaluateMulti(StateList& states, Allocator* allocator) const {
  predicate_->split(states, allocator, false);
}

} // namespace orvela
