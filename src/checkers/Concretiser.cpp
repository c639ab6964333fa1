#include "checkers/Concretiser.h"

#include "base/Exceptions.h"
#include "engine/StateBlocks.h"
#include "formula/TCTLExpression.h"
#include "model/ControlState.h"
#include "model/RegionRecorder.h"
#include "model/System.h"
#include "model/Transition.h"
#include "symbolic/GlobalState.h"

namespace orvela {

namespace {

/// The clock and integer operations of a move, recorded from the state it
/// leaves: its clock guards, then the clock updates of its edges in order.
RegionRecorder recordMove(const GlobalState& from, const std::vector<const Transition*>& edges,
                          int integers) {
  RegionRecorder recorder(&from, integers);
  for (const Transition* edge : edges)
    if (edge && edge->getClockGuard())
      edge->evalClockGuards(&recorder);
  for (const Transition* edge : edges)
    if (edge && edge->getAssignment())
      recorder.recordUpdates(*edge->getAssignment());
  return recorder;
}

void constrainAll(RationalZone& zone, const std::vector<RegionRecorder::tighten_t>& constraints) {
  for (const RegionRecorder::tighten_t& c : constraints)
    zone.constrain(c.i, c.j, RationalBound::fromRaw(c.raw));
}

void applyUpdates(RationalZone& zone, const std::vector<RegionRecorder::reset_t>& updates) {
  for (const RegionRecorder::reset_t& update : updates) {
    switch (update.kind) {
    case RegionRecorder::reset_t::reset:
      zone.reset(update.clock, update.value);
      break;
    case RegionRecorder::reset_t::offset:
      zone.offset(update.clock, update.value);
      break;
    case RegionRecorder::reset_t::copy:
      zone.copy(update.clock, unsigned(update.value));
      break;
    }
  }
}

/// The valuations from which `updates` lead to `zone`.
void undoUpdates(RationalZone& zone, const std::vector<RegionRecorder::reset_t>& updates) {
  for (auto update = updates.rbegin(); update != updates.rend(); ++update) {
    switch (update->kind) {
    case RegionRecorder::reset_t::reset:
      zone.constrainDifference(update->clock, 0, update->value);
      zone.free(update->clock);
      break;
    case RegionRecorder::reset_t::offset:
      zone.offset(update->clock, -update->value);
      break;
    case RegionRecorder::reset_t::copy:
      zone.constrainDifference(update->clock, unsigned(update->value), 0);
      zone.free(update->clock);
      break;
    }
  }
}

} // namespace

Concretiser::Concretiser(const Pointer<System>& system, const GlobalState& start)
    : system_(system), start_(start.unpackedCopy()),
      clocks_(unsigned(system->tables().clockCount())) {}

void Concretiser::add(const GlobalState& state, const Transition* const* edges) {
  Stage stage{state.unpackedCopy(), {}};
  for (const Transition* const* edge = edges; *edge; ++edge)
    stage.edges.push_back(*edge);
  stages_.push_back(std::move(stage));
}

bool Concretiser::mayDelay(const GlobalState& state) const {
  for (int p = 0; p < system_->getProcessCount(); ++p) {
    const ControlState& here = *system_->currentLocation(&state, p);
    if (here.isUrgent() || here.isCommitted())
      return false;
  }
  return !system_->hasUrgentTransitions(&state);
}

void Concretiser::applyInvariants(const GlobalState& state, RationalZone& zone) const {
  RegionRecorder recorder(&state, system_->tables().integerCount());
  for (int p = 0; p < system_->getProcessCount(); ++p)
    if (const Pointer<TCTLExpression>& invariant =
            system_->currentLocation(&state, p)->getInvariant())
      invariant->evaluate(&recorder);
  constrainAll(zone, recorder.getTightenings());
}

Concretiser::Zones Concretiser::forward() const {
  const unsigned time = clocks_; // the clock of the time since the start
  const int integers = system_->tables().integerCount();
  Zones zones;
  RationalZone zone(*start_->getUnpackedRegion(), clocks_ + 1);
  zone.constrainDifference(time, 0, 0);
  for (std::size_t k = 0; k < stages_.size(); ++k) {
    const GlobalState& state = *stages_[k].state;
    if (k > 0) {
      const RegionRecorder move = recordMove(*stages_[k - 1].state, stages_[k].edges, integers);
      constrainAll(zone, move.getTightenings());
      zones.left.push_back(zone);
      zones.updates.push_back(move.getResets());
      applyUpdates(zone, move.getResets());
    }
    applyInvariants(state, zone);
    zones.entered.push_back(zone);
    zones.delays.push_back(mayDelay(state));
    if (zones.delays.back()) {
      zone.delay();
      applyInvariants(state, zone);
    }
  }
  zones.left.push_back(zone);
  return zones;
}

std::vector<RationalZone> Concretiser::goalPieces(const RationalZone& zone,
                                                  const TCTLExpression* goal,
                                                  const Pointer<Allocator>& allocator) const {
  if (!goal)
    return {zone};
  StateList pieces{StateBlocks(*system_, allocator).copyOf(*stages_.back().state)};
  goal->evaluateMulti(pieces, allocator.get());
  std::vector<RationalZone> kept;
  for (GlobalState* piece : pieces) {
    RationalZone part(*piece->getUnpackedRegion(), zone.dim());
    part.intersect(zone);
    if (!part.isEmpty())
      kept.push_back(std::move(part));
    returnState(piece, allocator.get());
  }
  return kept;
}

std::optional<Concretiser::Point>
Concretiser::earliestEnd(const Zones& zones, const TCTLExpression* goal,
                         const Pointer<Allocator>& allocator) const {
  std::optional<Point> end;
  if (zones.left.back().isEmpty())
    return end;
  for (const RationalZone& piece : goalPieces(zones.left.back(), goal, allocator)) {
    Point point = piece.point(clocks_, 0, true);
    if (!end || point[clocks_] < (*end)[clocks_])
      end = std::move(point);
  }
  return end;
}

Concretiser::Point Concretiser::entryPoint(const Zones& zones, std::size_t k,
                                           const Point& leave) const {
  const unsigned time = clocks_;
  RationalZone entry = zones.entered[k];
  for (unsigned x = 1; x < clocks_; ++x)
    entry.constrainDifference(x, time, leave[x] - leave[time]);
  // Where time stands still the entry zone may still hold earlier points
  // with the same clock differences, which no run reaches there.
  if (zones.delays[k])
    entry.constrain(time, 0, RationalBound::at(leave[time], false));
  else
    entry.constrainDifference(time, 0, leave[time]);
  if (entry.isEmpty())
    throw Bug("Concrete run lost entering state %d of the trace", int(k));
  // Whole delays where the zone allows: entry times on the grid of the time
  // the state is left.
  return entry.point(time, leave[time], false);
}

Concretiser::Point Concretiser::departurePoint(const Zones& zones, std::size_t k,
                                               const Point& enter) const {
  RationalZone before(clocks_ + 1);
  for (unsigned x = 1; x <= clocks_; ++x)
    before.constrainDifference(x, 0, enter[x]);
  undoUpdates(before, zones.updates[k - 1]);
  before.intersect(zones.left[k - 1]);
  if (before.isEmpty())
    throw Bug("Concrete run lost before step %d of the trace", int(k));
  return before.point(clocks_, 0, false);
}

std::optional<ConcreteRun> Concretiser::concretise(const TCTLExpression* goal,
                                                   const Pointer<Allocator>& allocator) const {
  if (stages_.empty())
    return std::nullopt;
  const Zones zones = forward();
  std::optional<Point> leave = earliestEnd(zones, goal, allocator);
  if (!leave)
    return std::nullopt;
  // Backwards from the end: the point each state is entered at, then the
  // point the previous state is left at.
  ConcreteRun run;
  run.steps.resize(stages_.size());
  for (std::size_t k = stages_.size(); k-- > 0;) {
    const Point enter = entryPoint(zones, k, *leave);
    const mpq_class delay = (*leave)[clocks_] - enter[clocks_];
    (k + 1 < stages_.size() ? run.steps[k + 1].delay : run.finalDelay) = delay;
    run.steps[k].clocks.assign(enter.begin(), enter.begin() + clocks_);
    if (k > 0)
      leave = departurePoint(zones, k, enter);
  }
  return run;
}

} // namespace orvela
