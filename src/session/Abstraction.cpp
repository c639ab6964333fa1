#include "session/Abstraction.h"

#include "formula/TCTLExpression.h"
#include "model/System.h"

#include <set>

namespace orvela {

namespace {

/// The largest constant per clock that the formulas compare it with, none for
/// the clocks they do not mention.
std::vector<int> propertyConstants(unsigned clocks, TCTLExpression& property,
                                   TCTLExpression* premise) {
  NormalisationInfo constants(static_cast<int>(clocks));
  std::set<int> mentioned;
  for (TCTLExpression* formula : {&property, premise})
    if (formula) {
      formula->accept(constants);
      formula->collectClocks(mentioned);
    }
  std::vector<int> bounds(clocks, ClockBounds::none);
  for (int clock : mentioned)
    if (clock >= 0 && unsigned(clock) < clocks)
      bounds[std::size_t(clock)] = constants.maxConst[std::size_t(clock)];
  return bounds;
}

} // namespace

Abstraction chooseAbstraction(const SearchOptions& options, PropertyKind kind, bool deadlock,
                              bool clocksWatched, const System& system,
                              const NormalisationInfo& constants, TCTLExpression& property,
                              TCTLExpression* premise) {
  Abstraction chosen;
  const bool reachability = kind == PropertyKind::possibly || kind == PropertyKind::invariantly;
  if (!reachability || clocksWatched || !constants.constraints.empty())
    return chosen;
  chosen.extrapolation = options.extrapolation;
  chosen.subsumption = options.subsumption;
  if (deadlock) {
    chosen.subsumption = Subsumption::inclusion;
    if (chosen.extrapolation == Extrapolation::globalLU)
      chosen.extrapolation = Extrapolation::globalMax;
    if (chosen.extrapolation == Extrapolation::localLU)
      chosen.extrapolation = Extrapolation::localMax;
  }
  if (chosen.extrapolation != Extrapolation::globalMax ||
      chosen.subsumption != Subsumption::inclusion) {
    const unsigned clocks = unsigned(constants.maxConst.size());
    chosen.bounds =
        new ClockBounds(system, constants, propertyConstants(clocks, property, premise));
  }
  return chosen;
}

} // namespace orvela
