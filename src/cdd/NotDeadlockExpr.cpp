#include "cdd/NotDeadlockExpr.h"

#include "property/TCTLVisitor.h"
#include "server/base/Exceptions.h"

#include <ostream>

namespace orvela {

namespace {

[[noreturn]] void refuse() {
  throw InputError("Negation of the deadlock expression has not been implemented");
}

} // namespace

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

bool NotDeadlockExpr::evaluate(PublicState*) const { refuse(); }

void NotDeadlockExpr::evaluateMulti(StateList&, Allocator*) const { refuse(); }

} // namespace orvela
