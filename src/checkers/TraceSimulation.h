#pragma once
// Replays a trace from a start state: the states along a diagnostic trace,
// recomputed step by step through the successor and delay stages.

#include "checkers/Trace.h"
#include "engine/Pipeline.h"
#include "engine/StateBlocks.h"

namespace orvela {

/// Starts from a copy of the start state after delay and invariants, then
/// takes one step of the trace per `next`. The current state lives in a block
/// of the allocator and is returned to it when replaced and when the
/// simulation is destroyed.
class TraceSimulation final : public Object, private Sink {
public:
  /// `start` stays the caller's. The trace is reset.
  TraceSimulation(const Pointer<Trace>& trace, const Pointer<System>& system,
                  const Pointer<Allocator>& allocator, const GlobalState* start);
  ~TraceSimulation() override;

  /// The state reached so far; null when the start state violates its
  /// invariants.
  GlobalState* getCurrent() const { return current_; }
  bool atEnd() const { return trace_->atEnd(); }
  /// Takes the trace's current step from the current state, advances the
  /// trace and answers the step's edges. Throws Bug when the trace is at its
  /// end, when there is no current state, or when the step cannot be taken
  /// from it (the trace does not belong to this start state); the current
  /// state is then unchanged.
  const Transition* const* next();

private:
  /// The stages deliver the state reached here.
  bool tryPut(void* item) override;

  Pointer<Trace> trace_;
  Pointer<System> system_;
  StateBlocks blocks_;
  Pointer<Filter> successor_;
  Pointer<Filter> delay_;
  GlobalState* current_ = nullptr;
};

} // namespace orvela
