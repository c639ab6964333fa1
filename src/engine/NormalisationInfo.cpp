#include "engine/NormalisationInfo.h"

#include "dbm/RawBound.h"
#include "expr/ClockCopyReset.h"
#include "expr/ClockUpdates.h"
#include "formula/ClockExpr.h"
#include "model/ControlState.h"
#include "model/Transition.h"

#include <algorithm>
#include <iostream>

namespace orvela {

NormalisationInfo::NormalisationInfo(int clocks) : maxConst(std::size_t(clocks), 0) {}

void NormalisationInfo::visitControlState(ControlState* location) {
  if (location->getInvariant())
    location->getInvariant()->accept(*this);
}

void NormalisationInfo::visitTransition(Transition* edge) {
  if (edge->getClockGuard())
    edge->getClockGuard()->accept(*this);
  lastCopyDestination_ = nullptr;
  if (edge->getAssignment())
    edge->getAssignment()->accept(*this);
  lastCopyDestination_ = nullptr;
}

namespace {

/// The clocks an index expression may denote, clipped to the clock table.
template <class Body> void forEachClock(const Expression& clock, std::size_t clocks, Body&& body) {
  const auto [low, high] = clock.getRange();
  for (long long k = std::max(low, 0); k <= std::min<long long>(high, (long long)clocks - 1); ++k)
    body(int(k));
}

} // namespace

void NormalisationInfo::visitClockCopyReset(ClockCopyReset* copy) {
  lastCopyBegin_ = copies_.size();
  lastCopyDestination_ = copy->getDestination().get();
  forEachClock(*copy->getSource(), maxConst.size(), [&](int source) {
    forEachClock(*copy->getDestination(), maxConst.size(), [&](int destination) {
      addCopy({source, destination, 0});
    });
  });
}

void NormalisationInfo::visitClockShiftReset(ClockShiftReset* shift) {
  const bool completesCopy = shift->getClock().get() == lastCopyDestination_;
  lastCopyDestination_ = nullptr;
  if (completesCopy) {
    // Replace the copies just made by d := s + c, and carry everything known
    // about d again with the offset.
    std::vector<ClockCopy> made(copies_.begin() + long(lastCopyBegin_), copies_.end());
    copies_.resize(lastCopyBegin_);
    for (ClockCopy copy : made) {
      copy.offset = shift->getOffset();
      addCopy(copy);
    }
  } else if (shift->getOffset() < 0) {
    forEachClock(*shift->getClock(), maxConst.size(), [&](int clock) { raise(clock, unbounded); });
  }
}

bool NormalisationInfo::tooDeep(std::size_t depth) {
  if (depth <= maxConst.size())
    return false;
  disableWidening();
  return true;
}

void NormalisationInfo::disableWidening() {
  wideningDisabled_ = true;
  std::fill(maxConst.begin(), maxConst.end(), unbounded);
}

void NormalisationInfo::addCopy(ClockCopy copy) {
  copies_.push_back(copy);
  raise(copy.source, (long long)maxConst[std::size_t(copy.destination)] - copy.offset);
  const std::vector<Zone::Constraint> known(constraints.begin(), constraints.end());
  for (const Zone::Constraint& constraint : known)
    addConstraint(constraint);
}

// Clocks outside the table (a wide index range) are skipped; constants beyond
// the unbounded one mean the same.
void NormalisationInfo::raise(int clock, long long constant, std::size_t depth) {
  if (clock < 0 || std::size_t(clock) >= maxConst.size() || wideningDisabled_)
    return;
  int& slot = maxConst[std::size_t(clock)];
  const long long raised = std::min<long long>(constant, unbounded);
  if (raised <= slot)
    return;
  if (tooDeep(depth))
    return;
  slot = int(raised);
  for (const ClockCopy& copy : copies_)
    if (copy.destination == clock)
      raise(copy.source, raised - copy.offset, depth + 1);
}

// A constraint on the destination of d := s + c is, before the update, the
// same constraint on s with the constant moved by c. The source's constant is
// raised as a guard x_s - x_j ≺ k would raise it.
void NormalisationInfo::addConstraint(Zone::Constraint constraint, std::size_t depth) {
  if (!constraints.insert(constraint).second && depth > 0)
    return;
  if (wideningDisabled_ || tooDeep(depth))
    return;
  if (depth > 0 && !rawIsInfinite(constraint.value)) {
    // As a guard x_i - x_j ≺ k would: k >= 0 bounds x_i, k <= 0 bounds x_j.
    const long long k = rawConstant(constraint.value);
    if (k >= 0)
      raise(int(constraint.i), k, depth);
    if (k <= 0)
      raise(int(constraint.j), -k, depth);
  }
  const auto shifted = [](int32_t raw, long long by) {
    return rawIsInfinite(raw) ? raw : int32_t(raw + 2 * by);
  };
  for (const ClockCopy& copy : copies_) {
    const unsigned from = unsigned(copy.destination), to = unsigned(copy.source);
    if (from == to)
      continue;
    if (constraint.i == from && constraint.j != to) {
      addConstraint({to, constraint.j, shifted(constraint.value, -copy.offset)}, depth + 1);
    }
    if (constraint.j == from && constraint.i != to) {
      addConstraint({constraint.i, to, shifted(constraint.value, copy.offset)}, depth + 1);
    }
  }
}

void NormalisationInfo::visitClockExpr(ClockExpr* constraint) {
  // Plain variables rather than structured bindings, which not every
  // compiler lets the lambdas below capture.
  const auto iRange = constraint->getI()->getRange();
  const auto jRange = constraint->getJ()->getRange();
  const auto [c1, c2] = constraint->getBound()->getRange();
  const int i1 = iRange.first, i2 = iRange.second;
  const int j1 = jRange.first, j2 = jRange.second;
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
          addConstraint(make(unsigned(i), unsigned(j), v));
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
