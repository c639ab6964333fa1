#include "engine/NormalisationFilter.h"

#include "dbm/Extrapolation.h"
#include "engine/SuccessorPair.h"
#include "symbolic/UnpackedRegion.h"

#include <algorithm>

namespace orvela {

namespace {

UnpackedRegion* zoneOf(void* item) {
  return (*static_cast<GlobalState**>(item))->getUnpackedRegion();
}

} // namespace

Zone::Constraint sat_collect(const UnpackedRegion* region, Zone::Constraint c) {
  return region->hasPoints(c) ? c : negation(c);
}

void sat_assert(UnpackedRegion* region, Zone::Constraint c) { region->tighten(c); }

// ------------------------------------------------------------------- split

SplitFilter::SplitFilter(const System& system, Zone::Constraint constraint, Sink* next,
                         const Pointer<Allocator>& allocator)
    : blocks_(system, allocator), constraint_(constraint), next_(next) {}

bool SplitFilter::tryPut(void* item) {
  GlobalState* state = *static_cast<GlobalState**>(item);
  UnpackedRegion* zone = state->getUnpackedRegion();
  const Zone::Constraint other = negation(constraint_);
  if (!zone->hasPoints(constraint_) || !zone->hasPoints(other))
    return next_->tryPut(item);
  GlobalState* twin = blocks_.copyOf(*state);
  zone->tighten(constraint_);
  zone->close();
  const bool first = next_->tryPut(item);
  UnpackedRegion* twinZone = twin->getUnpackedRegion();
  twinZone->tighten(other);
  twinZone->close();
  SuccessorPair pair(twin, static_cast<SuccessorPair*>(item)->second);
  const bool second = next_->tryPut(&pair);
  return first || second;
}

// ------------------------------------------------------------------- basic

BasicNormFilter::BasicNormFilter(const NormalisationInfo& info, Sink* next,
                                 Extrapolation extrapolation, const Pointer<ClockBounds>& bounds)
    : maxConst_(info.maxConst), constraints_(info.constraints.rbegin(), info.constraints.rend()),
      next_(next), extrapolation_(bounds ? extrapolation : Extrapolation::globalMax),
      bounds_(bounds) {
  assert((!bounds || (bounds->usable() && constraints_.empty())) &&
         "location-local bounds and LU widening need a model without difference constraints");
  sides_.reserve(constraints_.size());
  if (bounds) {
    lower_.resize(bounds->clocks());
    upper_.resize(bounds->clocks());
  }
}

bool BasicNormFilter::tryPut(void* item) {
  UnpackedRegion* zone = zoneOf(item);
  if (extrapolation_ != Extrapolation::globalMax) {
    widen(*static_cast<GlobalState**>(item), zone);
    return next_->tryPut(item);
  }
  sides_.clear();
  for (const Zone::Constraint& c : constraints_)
    sides_.push_back(sat_collect(zone, c));
  zone->normk(maxConst_);
  if (!sides_.empty()) {
    for (const Zone::Constraint& c : sides_)
      sat_assert(zone, c);
    zone->close();
  }
  return next_->tryPut(item);
}

void BasicNormFilter::widen(const GlobalState* state, UnpackedRegion* zone) {
  const bool local =
      extrapolation_ == Extrapolation::localMax || extrapolation_ == Extrapolation::localLU;
  if (local)
    bounds_->boundsOf(state->getLocations(), lower_.data(), upper_.data());
  const int32_t* lower = local ? lower_.data() : bounds_->globalLower().data();
  const int32_t* upper = local ? upper_.data() : bounds_->globalUpper().data();
  if (extrapolation_ == Extrapolation::localLU || extrapolation_ == Extrapolation::globalLU) {
    zone->close();
    extrapolateLU(zone->bounds(), zone->getDim(), lower, upper);
    return;
  }
  // The maximal constant of a clock never compared is 0: any bound on it
  // beyond 0 is widened.
  for (std::size_t k = 0; k < maxConst_.size(); ++k)
    maxConst_[k] = std::max({lower[k], upper[k], 0});
  zone->normk(maxConst_);
}

// ---------------------------------------------------------- normalisation

NormalisationFilter::NormalisationFilter(const Pointer<System>& system,
                                         const Pointer<Allocator>& allocator)
    : system_(system), allocator_(allocator) {}

void NormalisationFilter::setSink(Sink* next) {
  sink_ = next;
  if (!stages_.empty())
    stages_.back()->setSink(next);
}

void NormalisationFilter::setConstants(const NormalisationInfo& info, Extrapolation extrapolation,
                                       const Pointer<ClockBounds>& bounds) {
  stages_.clear();
  stages_.push_back(new BasicNormFilter(info, sink_, extrapolation, bounds));
  for (const Zone::Constraint& c : info.constraints)
    stages_.insert(stages_.begin(),
                   new SplitFilter(*system_, c, stages_.front().get(), allocator_));
}

NormalisationFilter* createNormalisationFilter(const Pointer<System>& system,
                                               const Pointer<Allocator>& allocator) {
  return new NormalisationFilter(system, allocator);
}

} // namespace orvela
