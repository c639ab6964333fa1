#pragma once
// Zone normalisation: bounds beyond the largest constant a clock is compared
// with are widened, so that a search meets finitely many zones. Widening is
// unsound across a difference constraint that cuts a zone, so zones are first
// split along every such constraint, and each piece gets back, after
// widening, the side of every constraint on which it lies.

#include "engine/ClockBounds.h"
#include "engine/NormalisationInfo.h"
#include "engine/Pipeline.h"
#include "engine/StateBlocks.h"

#include <vector>

namespace orvela {

class UnpackedRegion;

/// c if some point of the closed region satisfies it, otherwise its negation.
Zone::Constraint sat_collect(const UnpackedRegion* region, Zone::Constraint c);
/// Tightens the region by c (without closing it).
void sat_assert(UnpackedRegion* region, Zone::Constraint c);

/// `tryPut(item)` on an item whose first word is the `GlobalState*` (a
/// successor pair): when the constraint cuts the state's zone, puts the item
/// with the zone on the constraint's side, then a pair (a copy of the state in
/// a block of the allocator, the item's edges) with the zone on the other side,
/// and answers whether either was accepted; otherwise puts the item on
/// unchanged. Zones reach the next stage closed.
class SplitFilter final : public Filter {
public:
  SplitFilter(const System& system, Zone::Constraint constraint, Sink* next,
              const Pointer<Allocator>& allocator);

  void setSink(Sink* next) override { next_ = next; }
  bool tryPut(void* item) override;

private:
  StateBlocks blocks_;
  Zone::Constraint constraint_;
  Sink* next_;
};

/// `tryPut(item)` on an item whose first word is the `GlobalState*`: notes on
/// which side of every constraint the zone lies, widens the zone by the
/// maximal constants, restores the noted sides, closes the zone and passes
/// the item on; answers the sink's answer. Given `bounds`, the zone is
/// widened as `extrapolation` says instead (the model then has no
/// constraints to note): by the maximal constants or Extra+LU, with the
/// bounds of the whole model or of the state's locations.
class BasicNormFilter final : public Filter {
public:
  BasicNormFilter(const NormalisationInfo& info, Sink* next,
                  Extrapolation extrapolation = Extrapolation::globalMax,
                  const Pointer<ClockBounds>& bounds = nullptr);

  void setSink(Sink* next) override { next_ = next; }
  bool tryPut(void* item) override;

private:
  /// Widens by the bounds, as `extrapolation_` says.
  void widen(const GlobalState* state, UnpackedRegion* zone);

  std::vector<int> maxConst_;
  /// The constraints in reverse set order.
  std::vector<Zone::Constraint> constraints_;
  /// The sides noted for the item being normalised.
  std::vector<Zone::Constraint> sides_;
  Sink* next_;
  Extrapolation extrapolation_;
  Pointer<ClockBounds> bounds_;
  /// The state's bounds, for the local choices.
  std::vector<int32_t> lower_, upper_;
};

/// The normalisation stage: a chain of one `SplitFilter` per constraint (the
/// last constraint of the set first) and a `BasicNormFilter`, rebuilt by
/// `setConstants`, which must be called before the first item. `tryPut`
/// answers the chain's answer.
class NormalisationFilter final : public Filter {
public:
  NormalisationFilter(const Pointer<System>& system, const Pointer<Allocator>& allocator);

  /// Remembers the sink and attaches it to the end of the current chain.
  void setSink(Sink* next) override;
  /// Rebuilds the chain for `info` (copied) in front of the current sink.
  /// With `bounds` (usable ones: the model has no difference constraint),
  /// zones are widened as `extrapolation` says; without, by the maximal
  /// constants of `info`.
  void setConstants(const NormalisationInfo& info,
                    Extrapolation extrapolation = Extrapolation::globalMax,
                    const Pointer<ClockBounds>& bounds = nullptr);
  bool tryPut(void* item) override {
    assert(!stages_.empty() && "normalisation used before its information was set");
    return stages_.front()->tryPut(item);
  }

private:
  Pointer<System> system_;
  Pointer<Allocator> allocator_;
  /// The chain, entry first; the last is the `BasicNormFilter`.
  std::vector<Pointer<Filter>> stages_;
  Sink* sink_ = nullptr;
};

/// A new filter (reference count 0).
NormalisationFilter* createNormalisationFilter(const Pointer<System>& system,
                                               const Pointer<Allocator>& allocator);

} // namespace orvela
