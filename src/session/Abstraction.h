#pragma once
// Which zone abstraction a check may use. Widening by lower and upper bounds
// (Extra+LU) and subsumption by LU simulation keep which locations, integer
// values and clock constraints (with constants among the bounds) are
// reachable, but not deadlocks, nor the infinite runs that E[] and A<> look
// for: a widened zone may let time pass where no state of it can.

#include "engine/ClockBounds.h"
#include "engine/NormalisationInfo.h"
#include "language/ParseProperty.h"
#include "session/Options.h"

namespace orvela {

class System;
class TCTLExpression;

/// The strongest of the choices of `options` that is sound for a property of
/// `kind` (`deadlock` when it mentions deadlock): LU widening and LU
/// subsumption for E<> and A[] without deadlock; with deadlock the maximal
/// constants (local ones if asked for) and inclusion; for E[], A<> and
/// leads-to, whose checkers widen by the global constants, those and
/// inclusion. A model or property with a difference constraint also keeps
/// those, and so does a search whose clock ranges are collected
/// (`clocksWatched`): smaller bounds widen the zones it would read them from.
/// `constants` are the model's and the property's, `property` and `premise`
/// (may be null) the formulas.
Abstraction chooseAbstraction(const SearchOptions& options, PropertyKind kind, bool deadlock,
                              bool clocksWatched, const System& system,
                              const NormalisationInfo& constants, TCTLExpression& property,
                              TCTLExpression* premise);

} // namespace orvela
