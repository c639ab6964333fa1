#pragma once
// Reachability over the processes of an MPI job: every process loads the same
// model, owns the states whose discrete part hashes to it (see
// `RoutingPWList`), expands them and sends the successors it does not own to
// their owners. The job ends when every process is out of work and no batch
// is in flight (Safra's token ring), or as soon as one process finds a state
// where the formula holds.

#include "checkers/Trace.h"
#include "language/ParseProperty.h"
#include "session/LoadedModel.h"
#include "session/Options.h"

#include <mpi.h>

#include <cstdint>

namespace orvela {

/// What a distributed search found, gathered on process 0 of the job.
struct DistributedOutcome {
  bool found = false;           ///< some process reached a state where the formula holds
  std::uint64_t explored = 0;   ///< states taken from the waiting lists, summed
  std::uint64_t stored = 0;     ///< states the passed lists accepted, summed
  std::uint64_t statesSent = 0; ///< states sent to their owner, summed
  std::uint64_t bytesSent = 0;  ///< bytes of the batches sent, summed
  /// On process 0, when traces are kept and a state was found: the moves
  /// from the start state to it, recorded anew in a store of process 0.
  Pointer<Trace> trace;
};

/// Whether `parsed` can be checked by `searchDistributed` under `options`: an
/// E<> or A[] property without deadlock, over exact zones, with any trace
/// kind but the shortest and fastest, without the active-clock reduction.
bool checksDistributed(const ParsedProperty& parsed, const SearchOptions& options);

/// Run by every process of `comm` together, each on its own copy of the same
/// model: searches from the model's start state for a state where
/// `parsed.expression` holds, as a sequential check of `parsed` does (same
/// waiting order, reduction and abstraction; no search limits). The counts
/// and the trace are valid on process 0 only.
DistributedOutcome searchDistributed(MPI_Comm comm, const LoadedModel& model,
                                     const SearchOptions& options, const ParsedProperty& parsed);

} // namespace orvela
