#pragma once
// The stage that records every successor in the trace store while it is built.

#include "checkers/TraceStore.h"
#include "engine/Pipeline.h"
#include "engine/SuccessorPair.h"

namespace orvela {

/// `tryPut(SuccessorPair*)`: the state's trace identifier, which still names
/// the entry of the state it was copied from, is replaced by the identifier of
/// a new entry recording the pair's edges after that one. Passes the pair on
/// and answers the sink's answer.
class TraceStoreFilter final : public ItemFilter<TraceStoreFilter, SuccessorPair> {
public:
  explicit TraceStoreFilter(const Pointer<TraceRecorder>& store) : store_(store) {}

  bool put(SuccessorPair* pair);

private:
  Pointer<TraceRecorder> store_;
};

/// A new filter (reference count 0).
Filter* createTraceStoreFilter(const Pointer<TraceRecorder>& store);

} // namespace orvela
