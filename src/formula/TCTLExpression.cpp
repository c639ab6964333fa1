#include "formula/TCTLExpression.h"

#include "formula/TCTLVisitor.h"
#include "symbolic/Allocator.h"
#include "symbolic/GlobalState.h"

#include <ostream>

namespace orvela {

TCTLVisitor::~TCTLVisitor() = default;

std::ostream& operator<<(std::ostream& out, const TCTLExpression& expression) {
  expression.print(out);
  return out;
}

bool AbstractTCTLExpression::atomic() const { return true; }

void AbstractTCTLExpression::print(std::ostream&) const {}

void AbstractTCTLExpression::evaluateMulti(StateList& states, Allocator* allocator) const {
  for (auto it = states.begin(); it != states.end();) {
    GlobalState* state = *it;
    if (evaluate(state) && state->ok()) {
      ++it;
    } else {
      it = states.erase(it);
      returnState(state, allocator);
    }
  }
}

void AbstractTCTLExpression::collectClocks(std::set<int>&) {}

void AbstractTCTLExpression::normalise(NormalForm& out) {
  out.push_back(Conjunction{Pointer<TCTLExpression>(this)});
}

void returnState(GlobalState* state, Allocator* allocator) {
  assert(!state->isHeapBlock() && "a heap state in an allocator's list");
  GlobalState::remove(state);
  allocator->deallocate(state);
}

} // namespace orvela
