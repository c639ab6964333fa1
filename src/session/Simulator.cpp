#include "session/Simulator.h"

#include "base/Exceptions.h"
#include "engine/NormalisationFilter.h"
#include "engine/SearchTransitionFilter.h"
#include "engine/StopSinks.h"
#include "engine/SuccessorFilters.h"
#include "symbolic/GlobalStateReference.h"

#include <algorithm>

namespace orvela {

namespace {

/// The end of the simulation pipeline during one request: hands every
/// successor to a visitor, then returns its block to the allocator.
class DeliverySink final : public ItemSink<DeliverySink, SuccessorPair> {
public:
  DeliverySink(const StepVisitor& visit, const Pointer<Allocator>& allocator)
      : visit_(visit), allocator_(allocator) {}
  bool put(SuccessorPair* pair) {
    visit_(pair->first, pair->second);
    allocator_->deallocate(pair->first);
    return true;
  }

private:
  const StepVisitor& visit_;
  Pointer<Allocator> allocator_;
};

/// Attaches a delivery sink to the end of the simulation pipeline for the
/// lifetime of the object, and detaches it again.
class Delivery {
public:
  Delivery(Filter& end, const StepVisitor& visit, const Pointer<Allocator>& allocator)
      : end_(end), sink_(new DeliverySink(visit, allocator)) {
    end_.setSink(sink_.get());
  }
  ~Delivery() { end_.setSink(nullptr); }
  Delivery(const Delivery&) = delete;
  Delivery& operator=(const Delivery&) = delete;

private:
  Filter& end_;
  Pointer<DeliverySink> sink_;
};

} // namespace

Simulator::Simulator(const Pointer<System>& system, const Pointer<Allocator>& allocator,
                     bool normalise, const NormalisationInfo& normalisation)
    : system_(system), stateAlloc_(allocator), moves_(*system) {
  transitionFilter_ = createSearchTransitionFilter(system_, stateAlloc_);
  successorFilter_ = createSuccessorFilter(system_, stateAlloc_);
  copyingSuccessorFilter_ = createCopyingSuccessorFilter(system_, stateAlloc_);
  delayFilter_ = createDelayFilter(system_, stateAlloc_);
  if (normalise) {
    Pointer<NormalisationFilter> stage = createNormalisationFilter(system_, stateAlloc_);
    stage->setConstants(normalisation);
    normalisationFilter_ = stage;
    delayFilter_->setSink(normalisationFilter_.get());
  } else {
    normalisationFilter_ = delayFilter_;
  }
  transitionFilter_->setSink(successorFilter_.get());
  copyingSuccessorFilter_->setSink(delayFilter_.get());
  successorFilter_->setSink(delayFilter_.get());
}

Pointer<GlobalState> Simulator::initialState() const {
  Pointer<GlobalState> state = system_->calcInitial();
  if (!system_->isUrgentState(state.get()) && !system_->committed(state.get()) &&
      !system_->hasUrgentTransitions(state.get()))
    state->delayAction();
  if (!system_->evalInvariant(state.get()))
    return nullptr;
  return state;
}

void Simulator::enabledMoves(const GlobalState* state, const StepVisitor& deliver) {
  Delivery delivery(*normalisationFilter_, deliver, stateAlloc_);
  GlobalStateReferenceWrapper reference(state);
  transitionFilter_->tryPut(static_cast<GlobalStateReference*>(&reference));
}

namespace {

/// Whether the null-terminated `requested` holds the edges of the
/// null-terminated `move` in some order: as many, and each of the move's
/// (which are distinct) among them.
bool sameEdges(const Transition* const* move, const Transition* const* requested) {
  const Transition* const* requestedEnd = requested;
  while (*requestedEnd)
    ++requestedEnd;
  const Transition* const* edge = move;
  for (; *edge; ++edge)
    if (std::find(requested, requestedEnd, *edge) == requestedEnd)
      return false;
  return edge - move == requestedEnd - requested;
}

/// The move among those that `enumerate(emit)` passes to `emit` that holds
/// the edges of `requested`, copied with its terminating null; empty when
/// there is none.
template <class Enumerate>
Simulator::Move findMove(Enumerate&& enumerate, const Transition* const* requested) {
  Simulator::Move found;
  enumerate([&](const Transition** move) {
    if (!sameEdges(move, requested))
      return true;
    for (; *move; ++move)
      found.push_back(*move);
    found.push_back(nullptr);
    return false;
  });
  return found;
}

} // namespace

Simulator::Move Simulator::moveOf(const GlobalState* state, const Transition* const* requested) {
  // The enumerator evaluates guards and synchronisations through the state
  // but changes nothing in it.
  GlobalState* const current = const_cast<GlobalState*>(state);
  Move move = findMove([&](auto emit) { moves_.enumerate(current, emit); }, requested);
  if (!move.empty())
    return move;
  const Move unguarded =
      findMove([&](auto emit) { moves_.enumerateAssuming(current, requested, emit); }, requested);
  if (unguarded.empty())
    throw ProtocolError("State inconsistent with current system");
  return move; // disabled by its own guards: no successor
}

void Simulator::successors(const GlobalState* state, const Move& move, const StepVisitor& deliver) {
  if (move.empty())
    return;
  Delivery delivery(*normalisationFilter_, deliver, stateAlloc_);
  Move edges = move;
  SuccessorPair pair(const_cast<GlobalState*>(state), edges.data());
  copyingSuccessorFilter_->tryPut(&pair);
}

bool Simulator::isStored(StorageReduction reduction, const GlobalState* state,
                         const Transition* const* edges) const {
  return keepsState(reduction, *system_, state, [&] { return system_->noSave(edges, state); });
}

} // namespace orvela
