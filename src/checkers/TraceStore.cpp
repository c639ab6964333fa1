#include "checkers/TraceStore.h"

#include "base/Exceptions.h"

#include <limits>

namespace orvela {

int MemoryTraceStore::put(const Transition* const* moves, int predecessor) {
  if (predecessor != -1 && !holds(predecessor))
    throw Bug("Invalid predecessor %d in call to MemoryTraceStore::put", predecessor);
  std::size_t edgeWords = 0; // the edges and the terminating null
  if (moves)
    while (moves[edgeWords++])
      ;
  const std::size_t id = data_.size();
  // Identifiers are ints, and so are the identifiers of later entries.
  if (1 + edgeWords > std::size_t(std::numeric_limits<int>::max()) - id)
    throw RuntimeError("Trace store full");
  data_.push_back(encode(predecessor));
  if (moves)
    data_.insert(data_.end(), moves, moves + edgeWords);
  return int(id);
}

void MemoryTraceStore::invalidArguments() {
  throw Bug("Invalid arguments in call to MemoryTraceStore::createTrace");
}

Pointer<Trace> MemoryTraceStore::createTrace(int id) const {
  if (id == -1)
    return new NullTrace();
  if (!holds(id))
    invalidArguments();
  Pointer<MTSTrace> trace = new MTSTrace(this);
  for (int predecessor; (predecessor = predecessorOf(id)) != -1; id = predecessor)
    trace->prepend(id);
  trace->reset();
  return trace;
}

Pointer<Trace> MemoryTraceStore::createTrace(int from, int to) const {
  if (from == to || to == -1)
    return new NullTrace();
  if (!holds(to))
    invalidArguments();
  Pointer<MTSTrace> trace = new MTSTrace(this);
  while (to != from) {
    const int predecessor = predecessorOf(to);
    if (predecessor == -1)
      invalidArguments(); // `from` is not an ancestor of `to`
    trace->prepend(to);
    to = predecessor;
  }
  trace->reset();
  return trace;
}

Pointer<Trace> NullTraceStore::createTrace(int) const { return new NullTrace(); }

Pointer<Trace> NullTraceStore::createTrace(int, int) const { return new NullTrace(); }

const Transition* const* MTSTrace::getCurrent() const {
  if (atEnd())
    return noMoves();
  return store_->movesOf(steps_[steps_.size() - 1 - current_]);
}

} // namespace orvela
