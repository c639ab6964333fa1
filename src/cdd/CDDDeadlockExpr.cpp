#include "cdd/CDDDeadlockExpr.h"

#include "cdd/NotDeadlockExpr.h"
#include "engine/Adapters.h"
#include "engine/NewTransitionFilter.h"
#include "engine/SuccessorFilters.h"
#include "property/TCTLVisitor.h"
#include "server/base/Exceptions.h"
#include "symbolic/GlobalState.h"
#include "symbolic/GlobalStateReference.h"
#include "symbolic/ScratchRegion.h"

#include <memory>
#include <new>
#include <utility>

namespace orvela {

namespace {

// A diagram the library failed to make (null) would compare unequal to
// cddfalse and pass for a deadlock; it is a failure instead, reported as
// memory exhaustion when that is what stopped the library.
const cdd& checked(const cdd& diagram) {
  if (diagram.get() == nullptr) {
    if (cdd_take_error() == CddOutOfMemory)
      throw std::bad_alloc();
    throw RuntimeError("The clock difference diagram library failed");
  }
  return diagram;
}

cdd diagramOf(const Region& zone) {
  if (!zone.isPacked())
    return zone.asCDD();
  ScratchRegion unpacked(zone.getDim(), false);
  zone.unpackTo(unpacked.get());
  return unpacked->asCDD();
}

} // namespace

CDDDeadlockExpr::CDDDeadlockExpr(const Pointer<System>& system)
    : system_(system), allocator_(createChunkAllocator(system->getSizeOfUnpackedState())),
      transitions_(createNewTransitionFilter(system, allocator_, nullptr, nullptr)),
      successors_(createNewSuccessorFilter(system, allocator_, nullptr)),
      sink_(createFunctionToSinkAdapter([this](SuccessorPair* pair) { return subtract(pair); })) {
  transitions_->setSink(successors_.get());
  successors_->setSink(sink_.get());
}

// The filters give their scratch states back to the allocator, which
// therefore goes last (members are destroyed in reverse order).
CDDDeadlockExpr::~CDDDeadlockExpr() = default;

void CDDDeadlockExpr::accept(TCTLVisitor& visitor) { visitor.visitCDDDeadlockExpr(this); }

int CDDDeadlockExpr::getType() const { return deadlockType; }

Pointer<TCTLExpression> CDDDeadlockExpr::negate() { return new NotDeadlockExpr(this); }

bool CDDDeadlockExpr::evaluate(PublicState* state) const {
  return deadlockedPart(*state->getGlobalState()).get() != cddfalse;
}

cdd CDDDeadlockExpr::deadlockedPart(const GlobalState& state) const {
  const Region& zone = *state.getRegion();
  // Time passes in the state unless the delay stage would hold it: the same
  // test as when successors are delayed.
  const bool timePasses = !system_->isUrgentState(&state) && system_->committed(&state) == 0 &&
                          !system_->hasUrgentTransitions(&state);
  // The valuations the zone can reach by waiting: all later ones that the
  // invariants of the state's locations allow, or the zone itself when time
  // cannot pass.
  const auto giveBack = [this](GlobalState* s) { returnState(s, allocator_.get()); };
  std::unique_ptr<GlobalState, decltype(giveBack)> reach(state.unpackedCopy(allocator_->allocate()),
                                                         giveBack);
  if (timePasses) {
    reach->delayAction();
    system_->evalInvariant(reach.get());
  }
  Evaluation evaluation{&state, reach->getRegion(), timePasses, checked(diagramOf(zone))};

  // The pipeline does not evaluate properties, but a nested evaluation must
  // not lose the outer one, nor an exception leave this one behind.
  struct Restore {
    Evaluation*& current;
    Evaluation* previous;
    ~Restore() { current = previous; }
  } restore{current_, std::exchange(current_, &evaluation)};

  // The moves are taken from every valuation that waiting reaches, so that a
  // zone that is not closed under waiting (restricted by a clock constraint
  // of the property, say) still sees the moves ahead of it.
  GlobalStateReferenceWrapper reference(reach.get());
  transitions_->tryPut(&reference);
  checked(evaluation.remaining);
  cdd reduced = cdd_reduce(evaluation.remaining);
  return checked(reduced);
}

bool CDDDeadlockExpr::subtract(SuccessorPair* pair) const {
  GlobalState* successor = pair->first;
  Evaluation& evaluation = *current_;
  if (evaluation.remaining.get() != cddfalse && system_->evalInvariant(successor)) {
    UnpackedRegion* zone = successor->getUnpackedRegion();
    system_->stepBack(evaluation.source, pair->second, zone);
    // Taking the edges back forgets the values of the clocks they reset, so
    // the result may reach beyond what the state can wait for. Only the
    // valuations that waiting reaches count; the way there stays within the
    // invariants, which are upper bounds.
    if (zone->intersect(evaluation.reach)) {
      if (evaluation.timePasses)
        zone->wp();
      const cdd enabled = zone->asCDD();
      evaluation.remaining = evaluation.remaining & !enabled;
    }
  }
  returnState(successor, allocator_.get());
  return true;
}

} // namespace orvela
