#pragma once
// The check of E[] φ: a depth-first search through the part of the state
// space where φ holds, for a run along which φ holds forever.

#include "checkers/BackFrontFilter.h"
#include "checkers/Detector.h"
#include "checkers/FrontStack.h"
#include "checkers/RestrictedDelayFilter.h"
#include "checkers/TraceStore.h"
#include "engine/CompoundFilter.h"
#include "engine/NormalisationFilter.h"
#include "engine/NormalisationInfo.h"
#include "engine/StorageReduction.h"
#include "pwlist/PWList.h"

#include <cstdint>
#include <vector>

namespace orvela {

/// `tryPut(GlobalState* start)` searches from a copy of `start` (which stays
/// the caller's) for a run along which the property holds at every instant
/// and which either lets time pass forever, ends in a deadlock, or goes round
/// a loop forever. The first witness found reaches the sink as a pair of
/// trace identifiers (`std::pair<int, int>*`): the state where the loop
/// starts and the state where it closes, both the same for the first two
/// kinds. The sink normally calls `stop()`; the search then ends before the
/// next state is taken. Answers true.
///
/// Per state taken from the search's buffer the pipeline is
///   transitions → successor → trace store → restricted delay →
///   normalisation → to successor → { buffer, detector }
/// and the start state enters at the restricted delay. All states of the
/// search come from one chunk allocator.
///
/// The passed list keeps the states whose exploration has finished; it is
/// cleared by `setExpression` only, so consecutive searches for one property
/// do not explore a state twice.
class LivenessChecker final : public CompoundFilter {
public:
  /// `buckets` hash buckets for the search path; `passed` is the list of
  /// explored states; `traceStore` records the moves (null: none);
  /// `normalisation` holds the model's constants.
  LivenessChecker(int buckets, const Pointer<System>& system, const Pointer<PWList>& passed,
                  const Pointer<TraceStore>& traceStore, const NormalisationInfo& normalisation,
                  StorageReduction reduction = StorageReduction::dropUnnecessaryCommitted);
  ~LivenessChecker() override;

  /// The property φ of the following searches. Its constants join the
  /// model's for normalisation: a zone is never widened across a bound that
  /// φ tests. Clears the passed list. Throws `InputError` for a property
  /// that contains the deadlock predicate.
  void setExpression(const Pointer<TCTLExpression>& property);
  bool tryPut(void* start) override;
  void stop() { stopped_ = true; }

  /// States taken from the buffer and explored since construction, and
  /// start states that were witnesses themselves.
  std::uint64_t exploredStates() const { return explored_; }
  const Pointer<Allocator>& allocator() const { return allocator_; }

private:
  Pointer<System> system_;
  Pointer<PWList> passed_;
  Pointer<Allocator> allocator_;
  NormalisationInfo modelConstants_;
  Pointer<FrontStack> path_;
  std::vector<PathStep> pending_;
  Filter* transition_ = nullptr;
  RestrictedDelayFilter* restricted_ = nullptr;
  NormalisationFilter* normalisation_ = nullptr;
  BackFrontFilter* backFront_ = nullptr;
  Detector* detector_ = nullptr;
  bool stopped_ = false;
  std::uint64_t explored_ = 0;
};

} // namespace orvela
