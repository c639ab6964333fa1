#include "checkers/CDDDeadlockExpr.h"

#include "base/Exceptions.h"
#include "checkers/NotDeadlockExpr.h"
#include "dbm/dbm.h"
#include "engine/Adapters.h"
#include "engine/SearchTransitionFilter.h"
#include "engine/SuccessorFilters.h"
#include "formula/TCTLVisitor.h"
#include "symbolic/GlobalState.h"
#include "symbolic/GlobalStateReference.h"
#include "symbolic/ScratchRegion.h"

#include <cassert>
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace orvela {

namespace {

// A diagram the library failed to make (null) would compare unequal to
// cddfalse and pass for a deadlock; it is a failure instead, reported as
// memory exhaustion when that is what stopped the library.
const cdd& checked(CddLibrary& library, const cdd& diagram) {
  if (diagram.get() == nullptr) {
    if (library.takeError() == CddOutOfMemory)
      throw std::bad_alloc();
    throw RuntimeError("The clock difference diagram library failed");
  }
  return diagram;
}

cdd diagramOf(CddLibrary& library, const Region& zone) { return zone.asCDD(library); }

/// Which part of a zone a split keeps.
enum class Coverage { none, all, some };

/// How much of the state's (closed) zone the diagram `wanted` covers.
Coverage coverage(CddLibrary& library, const GlobalState& state, const cdd& wanted) {
  if (wanted.get() == cddfalse)
    return Coverage::none;
  const cdd outside =
      library.reduce(checked(library, diagramOf(library, *state.getRegion()) - wanted));
  return checked(library, outside).get() == cddfalse ? Coverage::all : Coverage::some;
}

/// The zones of `wanted` within the zone of `state`, each in a copy of the
/// state taken from `allocator`, appended to `pieces`.
void cutPieces(CddLibrary& library, const GlobalState& state, const cdd& wanted,
               Allocator& allocator, StateList& pieces) {
  const Region& region = *state.getRegion();
  ScratchRegion unpacked(region.getDim(), false);
  region.unpackTo(unpacked.get());
  const unsigned n = unpacked->getDim();
  std::vector<std::byte> memory(dbm_sizeof(n));
  _dbm_* zone = unpacked->asDBM(dbm_init(dbm_reserve(memory.data(), n)));
  const int status = library.forEachZone(wanted, zone, [&](_dbm_* piece) {
    GlobalState* copy = state.discreteCopy(allocator.allocate());
    UnpackedRegion* target = copy->getUnpackedRegion();
    for (unsigned i = 0; i < n; ++i)
      for (unsigned j = 0; j < n; ++j)
        target->set(i, j, dbm_get_bound(piece, i, j));
    target->markClosed();
    pieces.push_back(copy);
  });
  if (status == CddOutOfMemory)
    throw std::bad_alloc();
  if (status != 0)
    throw RuntimeError("The clock difference diagram library failed");
}

class DeadlockFinder final : public TCTLVisitor {
public:
  void visitCDDDeadlockExpr(CDDDeadlockExpr*) override { found = true; }
  bool found = false;
};

} // namespace

CDDDeadlockExpr::CDDDeadlockExpr(const Pointer<System>& system)
    : system_(system), allocator_(createChunkAllocator(system->getSizeOfUnpackedState())),
      transitions_(createSearchTransitionFilter(system, allocator_)),
      successors_(createSuccessorFilter(system, allocator_)),
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
  return restrict(*state->getGlobalState(), true);
}

void CDDDeadlockExpr::evaluateMulti(StateList& states, Allocator* allocator) const {
  split(states, allocator, true);
}

bool CDDDeadlockExpr::restrict(GlobalState& state, bool deadlocked) const {
  StateList pieces{state.unpackedCopy(allocator_->allocate())};
  split(pieces, allocator_.get(), deadlocked);
  const std::size_t count = pieces.size();
  if (count == 1)
    *state.getRegion() = *pieces.front()->getRegion();
  for (GlobalState* piece : pieces)
    returnState(piece, allocator_.get());
  if (count > 1)
    throw Bug("A formula with the deadlock predicate was evaluated on one zone");
  return count == 1;
}

void CDDDeadlockExpr::split(StateList& states, Allocator* allocator, bool deadlocked) const {
  StateList kept;
  try {
    // A state leaves the list only once it is decided, so that an exception
    // leaves every block either in the list or given back.
    while (!states.empty()) {
      GlobalState* state = states.front();
      bool whole = false;
      if (state->ok()) {
        CddLibrary& library = diagrams(*state);
        const cdd part = deadlockedPart(*state);
        const cdd wanted = deadlocked ? part : !part;
        switch (coverage(library, *state, wanted)) {
        case Coverage::none:
          break;
        case Coverage::all:
          whole = true;
          break;
        case Coverage::some:
          cutPieces(library, *state, wanted, *allocator, kept);
          break;
        }
      }
      states.pop_front();
      if (whole)
        kept.push_back(state);
      else
        returnState(state, allocator);
    }
  } catch (...) {
    for (GlobalState* state : kept)
      returnState(state, allocator);
    throw;
  }
  states.swap(kept);
}

CddLibrary& CDDDeadlockExpr::diagrams(const GlobalState& state) const {
  const unsigned clocks = state.getRegion()->getDim();
  if (!diagrams_)
    diagrams_ = std::make_unique<CddLibrary>(int(clocks));
  assert(unsigned(diagrams_->clockCount()) == clocks && "states of another system");
  return *diagrams_;
}

cdd CDDDeadlockExpr::deadlockedPart(const GlobalState& state) const {
  CddLibrary& library = diagrams(state);
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
  Evaluation evaluation{&state, reach->getRegion(), timePasses,
                        checked(library, diagramOf(library, zone))};

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
  checked(library, evaluation.remaining);
  cdd reduced = library.reduce(evaluation.remaining);
  return checked(library, reduced);
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
        zone->past();
      const cdd enabled = zone->asCDD(*diagrams_);
      evaluation.remaining = evaluation.remaining & !enabled;
    }
  }
  returnState(successor, allocator_.get());
  return true;
}

bool containsDeadlock(TCTLExpression& formula) {
  DeadlockFinder finder;
  formula.accept(finder);
  return finder.found;
}

DeadlockFactory deadlockFactory(const Pointer<System>& system) {
  return [system]() -> Pointer<TCTLExpression> { return new CDDDeadlockExpr(system); };
}

} // namespace orvela
