#include "engine/ClockBounds.h"

#include "expr/Assignment.h"
#include "expr/ClockCopyReset.h"
#include "expr/ClockUpdates.h"
#include "formula/ClockExpr.h"
#include "model/ControlState.h"
#include "model/Process.h"
#include "model/System.h"
#include "model/Transition.h"

#include <algorithm>

namespace orvela {

namespace {

using Row = std::vector<int32_t>;

/// One clock update of an edge, in the order the edge applies them.
struct ClockUpdate {
  enum class Kind { reset, copy, shift };
  Kind kind;
  /// The clocks the update may write (an array element denotes several).
  std::vector<int> targets;
  /// The clocks a copy may read.
  std::vector<int> sources;
  /// The shift of `clock := clock + offset`.
  int offset = 0;
  /// A single target, not under a condition: its old value is lost.
  bool definite = true;
};

/// What a guard or an invariant compares and what an edge's updates do to
/// the clocks, gathered by visiting them.
class ClockUse final : public ExpressionVisitor, public TCTLVisitor {
public:
  explicit ClockUse(unsigned clocks) : lower(clocks, ClockBounds::none), upper(lower) {}

  /// A bound on a single clock raises L or U; a difference constraint is
  /// left to `usable()`, which the model's global constraints decide.
  void visitClockExpr(ClockExpr* constraint) override {
    const auto [i1, i2] = constraint->getI()->getRange();
    const auto [j1, j2] = constraint->getJ()->getRange();
    const auto [c1, c2] = constraint->getBound()->getRange();
    // The clock ranges are read as the global constants read them.
    if (i1 == 0) // 0 - x_j ≺ c: x_j ≻ -c
      forClocks(j1, j2, [&](int j) { raise(lower, j, -std::min(c1, c2)); });
    else if (j1 == 0) // x_i ≺ c
      forClocks(i1, i2, [&](int i) { raise(upper, i, std::max(c1, c2)); });
  }
  void visitClockAssign(ClockAssign* reset) override {
    add({ClockUpdate::Kind::reset, clocksOf(*reset->getClock()), {}, 0, true});
  }
  void visitClockCopyReset(ClockCopyReset* copy) override {
    add({ClockUpdate::Kind::copy, clocksOf(*copy->getDestination()), clocksOf(*copy->getSource()),
         0, true});
  }
  void visitClockShiftReset(ClockShiftReset* shift) override {
    add({ClockUpdate::Kind::shift, clocksOf(*shift->getClock()), {}, shift->getOffset(), true});
  }
  /// The updates of a conditional reset were just recorded (its operands are
  /// visited first): none of them is definite.
  void visitConditionalReset(ConditionalReset* conditional) override {
    ClockUse inner(unsigned(lower.size()));
    conditional->getAssignment()->accept(inner);
    for (std::size_t k = updates.size() - inner.updates.size(); k < updates.size(); ++k)
      updates[k].definite = false;
  }

  Row lower, upper;
  std::vector<ClockUpdate> updates;

private:
  template <class Body> void forClocks(long long from, long long to, Body&& body) const {
    for (long long k = std::max(from, 1LL);
         k <= std::min<long long>(to, (long long)lower.size() - 1); ++k)
      body(int(k));
  }
  std::vector<int> clocksOf(const Expression& clock) const {
    std::vector<int> clocks;
    const auto [low, high] = clock.getRange();
    forClocks(low, high, [&](int k) { clocks.push_back(k); });
    return clocks;
  }
  void add(ClockUpdate update) {
    update.definite = update.targets.size() == 1;
    updates.push_back(std::move(update));
  }
  static void raise(Row& row, int clock, long long constant) {
    int32_t& slot = row[std::size_t(clock)];
    slot = int32_t(std::max<long long>(slot, std::min<long long>(constant, INT32_MAX)));
  }
};

/// An edge as the fixpoint reads it.
struct EdgeSummary {
  int source;
  int target;
  ClockUse use;
};

int32_t shifted(int32_t bound, int by) {
  return bound == ClockBounds::none ? bound
                                    : int32_t(std::max<long long>((long long)bound - by, 0));
}

/// The bounds an edge asks of its source for the bounds `lower`, `upper` at its
/// target: the updates undone last first. `othersLower`, `othersUpper` are the
/// bounds other processes may read a clock with later, which count for the
/// clocks the edge writes without resetting.
void undoUpdates(const EdgeSummary& edge, const Row& othersLower, const Row& othersUpper,
                 Row& lower, Row& upper) {
  for (const ClockUpdate& update : edge.use.updates)
    if (update.kind != ClockUpdate::Kind::reset)
      for (int t : update.targets) {
        lower[std::size_t(t)] = std::max(lower[std::size_t(t)], othersLower[std::size_t(t)]);
        upper[std::size_t(t)] = std::max(upper[std::size_t(t)], othersUpper[std::size_t(t)]);
      }
  for (auto update = edge.use.updates.rbegin(); update != edge.use.updates.rend(); ++update) {
    for (int t : update->targets) {
      int32_t& l = lower[std::size_t(t)];
      int32_t& u = upper[std::size_t(t)];
      switch (update->kind) {
      case ClockUpdate::Kind::shift: // before x := x + c, x was c less
        l = update->definite ? shifted(l, update->offset) : std::max(l, shifted(l, update->offset));
        u = update->definite ? shifted(u, update->offset) : std::max(u, shifted(u, update->offset));
        break;
      case ClockUpdate::Kind::copy:
        for (int s : update->sources) {
          lower[std::size_t(s)] = std::max(lower[std::size_t(s)], l);
          upper[std::size_t(s)] = std::max(upper[std::size_t(s)], u);
        }
        [[fallthrough]];
      case ClockUpdate::Kind::reset:
        if (update->definite &&
            !(update->kind == ClockUpdate::Kind::copy && update->sources == update->targets))
          l = u = ClockBounds::none;
        break;
      }
    }
  }
}

/// row := max(row, other) entry by entry, each entry capped by `cap`; true if
/// the row changed.
bool raiseRow(int32_t* row, const Row& other, const std::vector<int>& cap) {
  bool changed = false;
  for (std::size_t k = 0; k < other.size(); ++k) {
    const int32_t value = std::min<int32_t>(other[k], cap[k]);
    if (value > row[k]) {
      row[k] = value;
      changed = true;
    }
  }
  return changed;
}

/// The fixpoint within one process, whose `locations` rows of `clocks`
/// entries start at `lower` and `upper`: a worklist of locations whose bounds
/// grew, the edges into them handing the growth back to their sources. True
/// if some bound grew.
bool settle(int32_t* lower, int32_t* upper, int locations, unsigned clocks,
            const std::vector<EdgeSummary>& edges, const Row& othersLower, const Row& othersUpper,
            const std::vector<int>& cap) {
  std::vector<std::vector<const EdgeSummary*>> into(static_cast<std::size_t>(locations));
  for (const EdgeSummary& edge : edges)
    into[std::size_t(edge.target)].push_back(&edge);
  std::vector<int> work;
  for (int l = locations - 1; l >= 0; --l)
    work.push_back(l);
  std::vector<bool> queued(static_cast<std::size_t>(locations), true);
  bool changed = false;
  while (!work.empty()) {
    const std::size_t target = std::size_t(work.back());
    work.pop_back();
    queued[target] = false;
    for (const EdgeSummary* edge : into[target]) {
      Row l(lower + target * clocks, lower + (target + 1) * clocks);
      Row u(upper + target * clocks, upper + (target + 1) * clocks);
      undoUpdates(*edge, othersLower, othersUpper, l, u);
      const std::size_t source = std::size_t(edge->source);
      const bool raised = raiseRow(lower + source * clocks, l, cap);
      if (!(raiseRow(upper + source * clocks, u, cap) || raised))
        continue;
      changed = true;
      if (!queued[source]) {
        queued[source] = true;
        work.push_back(edge->source);
      }
    }
  }
  return changed;
}

} // namespace

ClockBounds::ClockBounds(const System& system, const NormalisationInfo& global,
                         const std::vector<int>& property)
    : clocks_(unsigned(global.maxConst.size())), usable_(global.constraints.empty()) {
  const int processes = system.getProcessCount();
  std::size_t locations = 0;
  for (int p = 0; p < processes; ++p) {
    firstLocation_.push_back(locations);
    locations += std::size_t(system.getProcess(p)->getLocationCount());
  }
  lower_.assign(locations * clocks_, none);
  upper_.assign(locations * clocks_, none);

  // The global constants bound the local ones; capping by them makes every
  // raise below terminate, and a clock they leave unwidened stays so.
  const std::vector<int>& cap = global.maxConst;
  Row own(clocks_, none);
  for (std::size_t k = 0; k < property.size() && k < clocks_; ++k)
    own[k] = property[k];
  std::vector<std::vector<EdgeSummary>> edges(static_cast<std::size_t>(processes));
  for (int p = 0; p < processes; ++p) {
    const Process& process = *system.getProcess(p);
    for (int l = 0; l < process.getLocationCount(); ++l) {
      ClockUse invariant(clocks_);
      if (const Pointer<TCTLExpression>& expression = process.getControlState(l)->getInvariant())
        expression->accept(invariant);
      int32_t* row = &lower_[index(p, l, 0)];
      raiseRow(row, own, cap);
      raiseRow(row, invariant.lower, cap);
      row = &upper_[index(p, l, 0)];
      raiseRow(row, own, cap);
      raiseRow(row, invariant.upper, cap);
    }
    for (const Pointer<Transition>& edge : process.getTransitions()) {
      EdgeSummary summary{edge->getSource(), edge->getTarget(), ClockUse(clocks_)};
      if (edge->getClockGuard())
        edge->getClockGuard()->accept(summary.use);
      if (edge->getAssignment())
        edge->getAssignment()->accept(summary.use);
      raiseRow(&lower_[index(p, summary.source, 0)], summary.use.lower, cap);
      raiseRow(&upper_[index(p, summary.source, 0)], summary.use.upper, cap);
      edges[std::size_t(p)].push_back(std::move(summary));
    }
  }

  // Round after round every edge hands its target's bounds back to its
  // source, until nothing grows; a round also refreshes what the other
  // processes may read.
  for (bool changed = true; changed;) {
    changed = false;
    for (int p = 0; p < processes; ++p) {
      Row othersLower(clocks_, none), othersUpper(clocks_, none);
      for (int q = 0; q < processes; ++q)
        for (int l = 0; q != p && l < system.getProcess(q)->getLocationCount(); ++l)
          for (unsigned k = 0; k < clocks_; ++k) {
            othersLower[k] = std::max(othersLower[k], lower_[index(q, l, int(k))]);
            othersUpper[k] = std::max(othersUpper[k], upper_[index(q, l, int(k))]);
          }
      const int locations = system.getProcess(p)->getLocationCount();
      if (settle(&lower_[index(p, 0, 0)], &upper_[index(p, 0, 0)], locations, clocks_,
                 edges[std::size_t(p)], othersLower, othersUpper, cap))
        changed = true;
    }
    if (processes < 2)
      break;
  }

  globalLower_.assign(clocks_, none);
  globalUpper_.assign(clocks_, none);
  for (std::size_t row = 0; row < locations; ++row)
    for (unsigned k = 0; k < clocks_; ++k) {
      int32_t& l = lower_[row * clocks_ + k];
      int32_t& u = upper_[row * clocks_ + k];
      if (k == 0)
        l = u = 0;
      else if (cap[k] == NormalisationInfo::unbounded)
        l = u = NormalisationInfo::unbounded;
      globalLower_[k] = std::max(globalLower_[k], l);
      globalUpper_[k] = std::max(globalUpper_[k], u);
    }
}

void ClockBounds::boundsOf(const uint16_t* locations, int32_t* lower, int32_t* upper) const {
  std::fill(lower, lower + clocks_, none);
  std::fill(upper, upper + clocks_, none);
  for (std::size_t p = 0; p < firstLocation_.size(); ++p) {
    const int32_t* l = &lower_[(firstLocation_[p] + locations[p]) * clocks_];
    const int32_t* u = &upper_[(firstLocation_[p] + locations[p]) * clocks_];
    for (unsigned k = 0; k < clocks_; ++k) {
      lower[k] = std::max(lower[k], l[k]);
      upper[k] = std::max(upper[k], u[k]);
    }
  }
  if (clocks_ > 0)
    lower[0] = upper[0] = 0;
}

} // namespace orvela
