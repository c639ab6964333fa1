#include "engine/NewTransitionFilter.h"

#include "engine/Properties.h"
#include "engine/SuccessorPair.h"

#include <utility>

namespace orvela {

NewTransitionFilter::NewTransitionFilter(const Pointer<System>& system,
                                         const Pointer<Allocator>& allocator,
                                         CostFunction discreteCost, CostFunction realCost)
    : system_(system), blocks_(*system, allocator), moves_(*system), cur_(blocks_.create()),
      spare_(blocks_.create()), discreteCost_(discreteCost), realCost_(realCost),
      pendingMove_(moves_.moveCapacity() + 2, nullptr) {}

NewTransitionFilter::~NewTransitionFilter() {
  blocks_.drop(cur_);
  blocks_.drop(spare_);
}

void NewTransitionFilter::setProperty(const char* name, const void* value) {
  if (isProperty(name, "minCost"))
    minCost_ = propertyValue<int>(value);
}

bool NewTransitionFilter::put(GlobalStateReference* ref) {
  ref->writeDiscreteTo(cur_);
  if (discreteCost_ && discreteCost_(cur_) >= minCost_) {
    ref->release(!ref->getFlag());
    return false;
  }
  bool found = false;
  const bool kept = moves_.enumerate(cur_, [&](const Transition** move) {
    found = true;
    return defer(ref, move);
  });
  if (!kept)
    return false;
  if (!found)
    ref->release(!ref->getFlag());
  else
    flush();
  return true;
}

bool NewTransitionFilter::defer(GlobalStateReference* ref, const Transition** move) {
  if (!pending_) {
    ref->writeSymbolicTo(cur_);
    ref->release(!ref->getFlag());
    if (realCost_ && realCost_(cur_) >= minCost_)
      return false;
  } else {
    *spare_ = *cur_;
    flush();
    std::swap(cur_, spare_);
  }
  std::size_t k = 0;
  for (; move[k]; ++k)
    pendingMove_[k] = move[k];
  pendingMove_[k] = nullptr;
  pending_ = true;
  return true;
}

void NewTransitionFilter::flush() {
  pending_ = false;
  SuccessorPair pair(cur_, pendingMove_.data());
  passOn(&pair);
  cur_ = blocks_.create();
}

Filter* createNewTransitionFilter(const Pointer<System>& system,
                                  const Pointer<Allocator>& allocator, CostFunction discreteCost,
                                  CostFunction realCost) {
  return new NewTransitionFilter(system, allocator, discreteCost, realCost);
}

} // namespace orvela
