#include "engine/NormalisationInfo.h"

#include "model/ClockInfo.h"
#include "model/ControlState.h"
#include "model/Transition.h"
#include "property/ClockExpr.h"
#include "symbolic/dbm/RawBound.h"

#include <algorithm>
#include <iostream>

namespace orvela {

NormalisationInfo::NormalisationInfo() : maxConst(ClockInfo::clocks.size(), 0) {}

void NormalisationInfo::visitSystem(System*) {
  if (tauClock >= 0 && std::size_t(tauClock) < maxConst.size()) {
    maxConst[std::size_t(tauClock)] = unbounded;
    std::cerr << unbounded << " is the max const of tau" << std::endl;
  }
}

void NormalisationInfo::visitControlState(ControlState* location) {
  if (location->getInvariant())
    location->getInvariant()->accept(*this);
}

void NormalisationInfo::visitTransition(Transition* edge) {
  if (edge->getClockGuard())
    edge->getClockGuard()->accept(*this);
}

// Clocks outside the table (a wide index range) are skipped; constants beyond
// the unbounded one mean the same.
void NormalisationInfo::raise(int clock, long long constant) {
  if (clock < 0 || std::size_t(clock) >= maxConst.size())
    return;
  int& slot = maxConst[std::size_t(clock)];
  slot = int(std::max<long long>(slot, std::min<long long>(constant, unbounded)));
}

void NormalisationInfo::visitClockExpr(ClockExpr* constraint) {
  const auto [i1, i2] = constraint->getI()->getRange();
  const auto [j1, j2] = constraint->getJ()->getRange();
  const auto [c1, c2] = constraint->getBound()->getRange();
  const long long cmax = std::max(c1, c2);
  const long long cmin = std::min(c1, c2);
  const bool strict = constraint->isStrict();
  const int clocks = int(maxConst.size());
  const auto each = [clocks](int from, int to, auto&& body) {
    for (long long k = std::max(from, 0); k <= std::min(to, clocks - 1); ++k)
      body(int(k));
  };
  const auto record = [&](auto&& make) {
    each(i1, i2, [&](int i) {
      each(j1, j2, [&](int j) {
        for (long long v = cmin; v <= cmax; ++v)
          constraints.insert(make(unsigned(i), unsigned(j), v));
      });
    });
  };

  if (i1 == 0) { // 0 - x_j ≺ c: a lower bound on x_j
    each(j1, j2, [&](int j) { raise(j, -cmin); });
  } else if (j1 == 0) { // x_i - 0 ≺ c: an upper bound on x_i
    each(i1, i2, [&](int i) { raise(i, cmax); });
  } else {
    if (cmax >= 0) {
      each(i1, i2, [&](int i) { raise(i, cmax); });
      record([&](unsigned i, unsigned j, long long v) {
        return Zone::Constraint{i, j, int32_t(2 * v + (strict ? 0 : 1))};
      });
    }
    if (cmin <= 0) {
      each(j1, j2, [&](int j) { raise(j, -cmin); });
      record([&](unsigned i, unsigned j, long long v) {
        return Zone::Constraint{j, i, int32_t(-2 * v + (strict ? 1 : 0))};
      });
    }
  }
}

Zone::Constraint negation(Zone::Constraint c) {
  if (rawIsInfinite(c.value))
    return {c.j, c.i, Zone::infinity};
  const int32_t doubled = c.value & ~1;
  return {c.j, c.i, rawIsStrict(c.value) ? -doubled + 1 : -doubled};
}

} // namespace orvela
