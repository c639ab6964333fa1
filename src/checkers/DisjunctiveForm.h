#pragma once
// A state property in disjunctive normal form, as the liveness search reads
// it: each disjunct is a conjunction of discrete atoms (location and integer
// conditions, which a state either meets or not) and clock atoms (which cut
// its zone).

#include "formula/TCTLExpression.h"

#include <cstddef>
#include <vector>

namespace orvela {

class GlobalState;

/// The disjuncts of a formula (`TCTLExpression::normalise`), each split into
/// its discrete and its clock atoms. Every disjunct's clock atoms describe a
/// convex set of clock valuations.
class DisjunctiveForm {
public:
  DisjunctiveForm() = default;
  /// Throws `InputError` when the formula contains the deadlock predicate:
  /// it is not a condition on single valuations along a run, and the
  /// property language never puts it into an E[], A<> or leads-to property.
  explicit DisjunctiveForm(const Pointer<TCTLExpression>& formula);

  std::size_t size() const { return disjuncts_.size(); }

  /// Whether every discrete atom of disjunct k holds in `state`.
  bool discreteHolds(std::size_t k, GlobalState* state) const;
  /// Restricts the zone of `state` to the clock atoms of disjunct k and
  /// closes it; false when it became empty.
  bool restrict(std::size_t k, GlobalState* state) const;
  /// The same with every lower bound of a single clock taken non-strict: the
  /// valuations of the zone at which the disjunct holds or from which a
  /// delay enters it at once. False when the zone became empty.
  bool restrictFuzzy(std::size_t k, GlobalState* state) const;

private:
  struct Disjunct {
    std::vector<Pointer<TCTLExpression>> discrete;
    std::vector<Pointer<TCTLExpression>> clocks;
  };
  std::vector<Disjunct> disjuncts_;
};

} // namespace orvela
