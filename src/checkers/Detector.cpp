#include "checkers/Detector.h"

#include "base/Exceptions.h"
#include "symbolic/GlobalState.h"

#include <iterator>
#include <memory>

namespace orvela {

namespace {

struct StateRemover {
  void operator()(GlobalState* state) const { GlobalState::remove(state); }
};
using HeapState = std::unique_ptr<GlobalState, StateRemover>;

} // namespace

Detector::Detector(const Pointer<System>& system, FrontStack& path,
                   const RestrictedDelayFilter& restricted, const Pointer<Allocator>& allocator)
    : system_(system), path_(path), restricted_(restricted), blocks_(*system, allocator),
      deadlock_(new CDDDeadlockExpr(system)) {}

Detector::~Detector() = default;

void Detector::setExpression(const Pointer<TCTLExpression>& property) {
  negated_ = property->negate();
}

void Detector::emit(int from, int to) {
  std::pair<int, int> identifiers(from, to);
  passOn(&identifiers);
}

bool Detector::tryPut(void* item) {
  const auto* successor = static_cast<const MoveSuccessor*>(item);
  const GlobalState* state = successor->state;
  if (restricted_.mayDelay(state) && state->isUnbounded()) {
    emit(state->getTraceId(), state->getTraceId());
    return true;
  }
  if (deadlocked(state)) {
    emit(state->getTraceId(), state->getTraceId());
    return true;
  }
  examined_ = successor;
  const FrontStack::Node* start = path_.find(state, *this);
  examined_ = nullptr;
  if (start)
    emit(start->step.successor.state->getTraceId(), state->getTraceId());
  return true;
}

bool Detector::deadlocked(const GlobalState* state) {
  CddLibrary& diagrams = deadlock_->diagrams(*state);
  cdd stuck = deadlock_->deadlockedPart(*state);
  if (stuck.get() == cddfalse)
    return false;
  // A deadlocked valuation ends the run after its remaining delay, along
  // which the property must hold too: remove every valuation from which a
  // delay reaches a place where the property fails.
  GlobalState* future = blocks_.copyOf(*state);
  if (restricted_.mayDelay(future)) {
    future->delayAction();
    system_->evalInvariant(future);
  }
  StateList failing{future};
  negated_->evaluateMulti(failing, blocks_.allocator().get());
  for (GlobalState* piece : failing) {
    if (stuck.get() != cddfalse) {
      piece->getRegion()->past();
      stuck = stuck - piece->getRegion()->asCDD(diagrams);
    }
    returnState(piece, blocks_.allocator().get());
  }
  const cdd reduced = diagrams.reduce(stuck);
  if (!reduced.get())
    throw RuntimeError("The clock difference diagram library failed");
  return reduced.get() != cddfalse;
}

PreNode Detector::preNode(const PathStep* step, const MoveSuccessor* examined) {
  PreNode node{step, examined, nullptr};
  node.zone = node.state()->copy();
  return node;
}

// The past of `from`'s set may reach back to valuations where the property
// fails right after the move. That costs no soundness: a move that resets a
// clock leaves only one valuation on each line of delay into the set, the one
// the search itself reached; a move that resets none commutes with delay, so
// the same point is reached by waiting first and moving later, along the
// property.
std::optional<Inclusion> Detector::narrow(const PreNode& from, PreNode& to) {
  HeapState reach(from.zone->copy());
  if (restricted_.mayDelay(reach.get()))
    reach->getRegion()->past();
  UnpackedRegion* zone = reach->getUnpackedRegion();
  system_->stepBack(to.zone, from.move(), zone);
  if (zone->isEmpty())
    return std::nullopt;
  const Inclusion relation = zone->relation(to.zone->getRegion());
  if (includes(relation))
    return relation;
  if (!to.zone->getUnpackedRegion()->intersect(zone))
    return std::nullopt;
  return Inclusion::none;
}

bool Detector::prestabilizable(const FrontStack::Node& node) {
  assert(examined_ && "no successor under examination");
  if (includes(examined_->state->relation(node.step.successor.state)))
    return true;
  std::list<PreNode> loop;
  const auto answer = [&loop](bool result) {
    freeLoop(loop);
    return result;
  };
  loop.push_back(preNode(nullptr, examined_));
  for (const FrontStack::Node* step = path_.top(); step && step != &node; step = step->below) {
    loop.push_back(preNode(&step->step, nullptr));
    if (!narrow(*std::prev(loop.end(), 2), loop.back()))
      return answer(false);
  }
  // Every set now reaches the one before it in the list; the loop closes when
  // the first one reaches the last.
  for (int pass = 0; pass < maxPasses; ++pass) {
    std::optional<Inclusion> relation = narrow(loop.back(), loop.front());
    for (auto to = std::next(loop.begin());; ++to) {
      if (!relation)
        return answer(false);
      if (includes(*relation))
        return answer(true);
      if (to == loop.end())
        break;
      relation = narrow(*std::prev(to), *to);
    }
  }
  return answer(false);
}

void freeLoop(std::list<PreNode>& loop) {
  for (PreNode& node : loop)
    GlobalState::remove(node.zone);
  loop.clear();
}

Detector* createDetector(const Pointer<System>& system, FrontStack& path,
                         const RestrictedDelayFilter& restricted,
                         const Pointer<Allocator>& allocator) {
  return new Detector(system, path, restricted, allocator);
}

} // namespace orvela
