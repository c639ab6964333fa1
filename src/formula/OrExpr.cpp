#include "formula/OrExpr.h"

#include "formula/AndExpr.h"
#include "formula/TCTLVisitor.h"
#include "symbolic/Allocator.h"
#include "symbolic/GlobalState.h"

#include <memory>

namespace orvela {

namespace {

struct StateRemover {
  void operator()(GlobalState* state) const { GlobalState::remove(state); }
};

/// Gives every state of the list back to the allocator.
void returnAll(StateList& states, Allocator* allocator) {
  for (GlobalState* state : states)
    returnState(state, allocator);
  states.clear();
}

/// Drops from both lists the pieces that a piece of the same origin (equal
/// trace identifiers) in the other list includes; of two equal pieces the one
/// in `lefts` goes.
void dropIncluded(StateList& lefts, StateList& rights, Allocator* allocator) {
  for (auto b = rights.begin(); b != rights.end();) {
    bool covered = false;
    for (auto a = lefts.begin(); a != lefts.end();) {
      if ((*a)->getTraceId() != (*b)->getTraceId()) {
        ++a;
        continue;
      }
      const Inclusion relation = (*a)->relation(*b);
      if (relation == Inclusion::superset) {
        covered = true;
        break;
      }
      if (includedIn(relation)) {
        returnState(*a, allocator);
        a = lefts.erase(a);
      } else {
        ++a;
      }
    }
    if (covered) {
      returnState(*b, allocator);
      b = rights.erase(b);
    } else {
      ++b;
    }
  }
}

} // namespace

OrExpr::OrExpr(const Pointer<TCTLExpression>& left, const Pointer<TCTLExpression>& right)
    : BinaryTCTLExpression(left, right, "or") {}

void OrExpr::accept(TCTLVisitor& visitor) {
  acceptOperands(visitor);
  visitor.visitOrExpr(this);
}

int OrExpr::getType() const { return orType; }

Pointer<TCTLExpression> OrExpr::negate() { return new AndExpr(left_->negate(), right_->negate()); }

// Evaluating a formula tightens without closing, so "left holds" may still
// leave an empty zone; the copy is closed and checked before it is taken, or
// a satisfiable right disjunct would be lost.
bool OrExpr::evaluate(PublicState* state) const {
  GlobalState* original = state->getGlobalState();
  const std::unique_ptr<GlobalState, StateRemover> trial(original->copy());
  if (left_->evaluate(trial.get()) && trial->ok()) {
    *original->getRegion() = *trial->getRegion();
    return true;
  }
  return right_->evaluate(state);
}

void OrExpr::evaluateMulti(StateList& states, Allocator* allocator) const {
  StateList copies;
  try {
    for (GlobalState* state : states)
      copies.push_back(state->unpackedCopy(allocator->allocate()));
    left_->evaluateMulti(states, allocator);
    right_->evaluateMulti(copies, allocator);
  } catch (...) {
    returnAll(copies, allocator);
    throw;
  }
  if (!states.empty() && !copies.empty())
    dropIncluded(states, copies, allocator);
  states.splice(states.end(), copies);
}

void OrExpr::normalise(NormalForm& out) {
  left_->normalise(out);
  right_->normalise(out);
}

} // namespace orvela
