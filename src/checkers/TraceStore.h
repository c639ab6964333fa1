#pragma once
// The store from which diagnostic traces are rebuilt. Every successor made in
// a search is recorded as an entry: the identifier of its predecessor's entry
// and the edges of the move. A state carries the identifier of its own entry,
// and a trace is rebuilt by following predecessors back to a root.

#include "checkers/Trace.h"

#include <cstdint>
#include <vector>

namespace orvela {

/// Where a search records its moves.
class TraceRecorder : public Object {
public:
  /// Records the move `moves` (a null-terminated edge list, or null for a root
  /// entry: the initial state) made from the state whose entry is
  /// `predecessor` (-1 for none); answers the new entry's identifier.
  virtual int put(const Transition* const* moves, int predecessor) = 0;
};

/// Records moves and rebuilds traces from them.
class TraceStore : public TraceRecorder {
public:
  /// The trace from the root to entry `id`; empty for -1 or a root.
  virtual Pointer<Trace> createTrace(int id) const = 0;
  /// The trace from entry `from` (exclusive) to entry `to`; empty when they
  /// are equal or `to` is -1.
  virtual Pointer<Trace> createTrace(int from, int to) const = 0;
};

/// Keeps every entry for its own lifetime in one growing vector of
/// pointer-sized words. An entry is a run of consecutive words:
///   word 0       the predecessor's identifier, -1 for a root
///   words 1..k   the edges of the move, in move order
///   word k+1     null, ending the edge list (absent in a root entry)
/// The identifier of an entry is the index of its word 0. The predecessor word
/// holds the integer in pointer-sized storage; the edges are stored whole.
class MemoryTraceStore final : public TraceStore {
public:
  /// Throws Bug when `predecessor` is neither -1 nor an identifier of this
  /// store, RuntimeError when identifiers would leave the int range.
  int put(const Transition* const* moves, int predecessor) override;
  /// Throws Bug "Invalid arguments in call to MemoryTraceStore::createTrace"
  /// for an identifier outside the store. The trace holds a counted reference
  /// to the store, which must therefore be a heap object (as every `Object`).
  Pointer<Trace> createTrace(int id) const override;
  /// Throws Bug "Invalid arguments in call to MemoryTraceStore::createTrace"
  /// when `from` is not an ancestor of `to`, or either lies outside the store.
  Pointer<Trace> createTrace(int from, int to) const override;

  /// The predecessor recorded in entry `id` (an identifier of this store).
  int predecessorOf(int id) const { return decode(data_[std::size_t(id)]); }
  /// The edge list recorded in entry `id`, which must have been recorded with
  /// one (a root entry has none). The address is valid until the next `put`.
  const Transition* const* movesOf(int id) const { return data_.data() + id + 1; }
  /// The number of words held.
  std::size_t size() const { return data_.size(); }

private:
  static const Transition* encode(int predecessor) {
    return reinterpret_cast<const Transition*>(static_cast<intptr_t>(predecessor));
  }
  static int decode(const Transition* word) {
    return static_cast<int>(reinterpret_cast<intptr_t>(word));
  }
  bool holds(int id) const { return id >= 0 && std::size_t(id) < data_.size(); }
  [[noreturn]] static void invalidArguments();

  std::vector<const Transition*> data_;
};

/// Records nothing: `put` answers -1 and every trace is empty.
class NullTraceStore final : public TraceStore {
public:
  int put(const Transition* const*, int) override { return -1; }
  Pointer<Trace> createTrace(int) const override;
  Pointer<Trace> createTrace(int, int) const override;
};

/// The steps of a trace as identifiers of entries in a memory store, first
/// step first.
class MTSTrace final : public Trace {
public:
  /// An empty trace over `store`; `prepend` fills it.
  explicit MTSTrace(const MemoryTraceStore* store) : store_(store) {}

  /// Makes entry `id` the new first step.
  void prepend(int id) { steps_.push_back(id); }

  void reset() override { current_ = 0; }
  void next() override {
    if (current_ < steps_.size())
      ++current_;
  }
  int getLength() const override { return int(steps_.size()); }
  /// The edges of the current entry, read from the store at each call (the
  /// store's vector may have grown since the last).
  const Transition* const* getCurrent() const override;
  bool atEnd() const override { return current_ == steps_.size(); }

private:
  Pointer<const MemoryTraceStore> store_;
  /// The steps, last step first, so that prepending is cheap.
  std::vector<int> steps_;
  /// Steps done since the first.
  std::size_t current_ = 0;
};

} // namespace orvela
