#include "checkers/RestrictedDelayFilter.h"

#include "model/System.h"

namespace orvela {

RestrictedDelayFilter::RestrictedDelayFilter(const Pointer<System>& system,
                                             const Pointer<Allocator>& allocator)
    : blocks_(*system, allocator), system_(system), delay_(new DelayFilter(system, allocator)) {}

void RestrictedDelayFilter::setExpression(const Pointer<TCTLExpression>& property) {
  disjuncts_ = DisjunctiveForm(property);
}

bool RestrictedDelayFilter::put(SuccessorPair* pair) {
  GlobalState* state = pair->first;
  // A disjunct whose discrete atoms fail here is of no use for the state nor
  // for any delay of it.
  std::vector<bool> used(disjuncts_.size());
  for (std::size_t k = 0; k < used.size(); ++k)
    used[k] = !disjuncts_.discreteHolds(k, state);
  for (std::size_t k = 0; k < used.size(); ++k) {
    if (used[k])
      continue;
    GlobalState* part = blocks_.copyOf(*state);
    if (!disjuncts_.restrict(k, part)) {
      blocks_.drop(part);
      continue;
    }
    if (!mayDelay(part)) {
      if (system_->evalInvariant(part))
        emit(part, pair->second);
      else
        blocks_.drop(part);
      continue;
    }
    part = delayWithin(part, k);
    if (!part)
      continue;
    used[k] = true;
    checkTouching(pair->second, part, used);
    used[k] = false;
    emit(part, pair->second);
  }
  blocks_.drop(state);
  return true;
}

void RestrictedDelayFilter::checkTouching(const Transition** edges, const GlobalState* state,
                                          std::vector<bool>& used) {
  for (std::size_t m = 0; m < used.size(); ++m) {
    if (used[m])
      continue;
    for (GlobalState* continued : delayInto(state, m)) {
      used[m] = true;
      checkTouching(edges, continued, used);
      used[m] = false;
      emit(continued, edges);
    }
  }
}

// A delay that leaves the state (all of it within one disjunct, delayed as
// far as that disjunct and the invariants allow) goes on within disjunct m
// only from a valuation that belongs to the state or to m, and from which the
// delay runs into m at once. Such a valuation is either on the closure of the
// state's upper border and in m (the first piece: the exit point of a strict
// border must itself satisfy m, or the property fails at that instant), or in
// the state and on the lower border of m taken non-strict (the second piece).
// Delaying a whole border zone instead would reach valuations whose delay
// crosses a gap between the two disjuncts.
std::vector<GlobalState*> RestrictedDelayFilter::delayInto(const GlobalState* state,
                                                           std::size_t m) {
  GlobalState* border = blocks_.copyOf(*state);
  UnpackedRegion* closure = state->getUnpackedRegion()->microDelay();
  *border->getUnpackedRegion() = *closure;
  Region::remove(closure);
  GlobalState* entered = blocks_.copyOf(*state);

  std::vector<GlobalState*> pieces;
  for (GlobalState* start : {border, entered}) {
    const bool inside =
        start == border ? disjuncts_.restrict(m, start) : disjuncts_.restrictFuzzy(m, start);
    if (!inside) {
      blocks_.drop(start);
      continue;
    }
    if (GlobalState* piece = delayWithin(start, m))
      pieces.push_back(piece);
  }
  if (pieces.size() == 2) {
    const Inclusion relation = pieces[0]->relation(pieces[1]);
    if (includes(relation)) {
      blocks_.drop(pieces[1]);
      pieces.pop_back();
    } else if (relation == Inclusion::subset) {
      blocks_.drop(pieces[0]);
      pieces.erase(pieces.begin());
    }
  }
  return pieces;
}

GlobalState* RestrictedDelayFilter::delayWithin(GlobalState* state, std::size_t k) const {
  state->delayAction();
  if (system_->evalInvariant(state) && disjuncts_.restrict(k, state))
    return state;
  blocks_.drop(state);
  return nullptr;
}

void RestrictedDelayFilter::emit(GlobalState* state, const Transition** edges) {
  SuccessorPair pair(state, edges);
  passOn(&pair);
}

RestrictedDelayFilter* createRestrictedDelayFilter(const Pointer<System>& system,
                                                   const Pointer<Allocator>& allocator) {
  return new RestrictedDelayFilter(system, allocator);
}

} // namespace orvela
