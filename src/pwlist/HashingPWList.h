#pragma once
// The default passed/waiting list: every stored state is a compact record
// (StoredState.h) in a fixed-size node from a chunk allocator, and a new state
// is compared with the stored states of its bucket that share its discrete
// part. Records start narrow (16-bit bounds); the first state with a bound
// beyond 16 bits turns every stored record wide, once, for the rest of the
// run.

#include "pwlist/PWListBase.h"
#include "pwlist/StoredState.h"
#include "symbolic/Allocator.h"
#include "symbolic/GlobalStateReference.h"

namespace orvela {

class ChunkPWListBase;

/// The reference handed out by `ChunkPWListBase::tryGet`: the waiting state
/// at the front of the store until it is released.
class ChunkGSR final : public GlobalStateReference {
public:
  explicit ChunkGSR(ChunkPWListBase& list) : list_(list) {}

  void writeDiscreteTo(GlobalState* target) override;
  void writeSymbolicTo(GlobalState* target) override;
  /// The store flag of the waiting entry.
  bool getFlag() override { return flag_; }
  /// drop false: the state becomes passed, its node taking the waiting
  /// node's place in the chain; drop true: the state is forgotten. A state
  /// that a newer state covered while it was held is forgotten either way.
  void release(bool drop) override;
  /// Lives inside the run data of its list, never on its own.
  void remove() override {}

  bool holding() const { return node_ != nullptr; }
  /// Takes the waiting entry `waiting` (not freed).
  void hold(WaitingNode* waiting);
  /// The waiting node held, null when none is or it left its chain.
  const WaitingNode* waiting() const { return waiting_; }
  /// The held entry's node left its chain because a newer state covers it:
  /// the waiting node is freed now and the state node goes at release.
  void detach();

private:
  friend class ChunkPWListBase; // moves the held node when records widen

  ChunkPWListBase& list_;
  WaitingNode* waiting_ = nullptr;
  StateNode* node_ = nullptr;
  bool flag_ = false;
};

/// A hashed list whose state nodes are fixed-size blocks from a chunk
/// allocator holding a link word and the record of the state.
class ChunkPWListBase : public PWListBase {
public:
  /// The front of the waiting store, held until released (see PWList).
  bool tryGet(void* out) override;
  /// The chain rules, the bucket of every stored hash, and one allocator
  /// block for every stored state (and for a held state that left its chain).
  std::string checkConsistency() const override;
  /// Also returns to narrow records.
  void clear() override;
  void setKeepCoveredWaiting(bool keep) override { keepCoveredWaiting_ = keep; }

  const StoredStateLayout& layout() const { return layout_; }
  /// Bytes of a state node.
  std::size_t nodeBytes() const { return nodeBytes_; }
  /// Allocator blocks in use (0 before the first run).
  std::size_t nodesInUse() const;
  /// The blocks in use times the node size.
  std::size_t storedBytes() const override { return nodesInUse() * nodeBytes_; }

protected:
  struct chunk_data_t : data_t {
    explicit chunk_data_t(ChunkPWListBase& list) : reference(list) {}
    Pointer<Allocator> allocator;
    ChunkGSR reference;
  };

  /// With `narrowRecords`, records start narrow and widen when a state needs
  /// it; otherwise they are wide from the start (for lists whose chains hold
  /// nodes that `widen` must not move).
  ChunkPWListBase(unsigned buckets, const Pointer<Store>& prototype, const StateShape& shape,
                  bool narrowRecords = true);

  std::unique_ptr<data_t> createData() override;
  chunk_data_t& chunkData() { return static_cast<chunk_data_t&>(data()); }

  void writeDiscrete(const StateNode* node, GlobalState* target) const override;
  void writeSymbolic(const StateNode* node, GlobalState* target) const override;
  std::string checkNode(const StateNode* node, std::size_t bucket) const override;

  static int32_t* recordOf(StateNode* node) { return reinterpret_cast<int32_t*>(node->payload()); }
  static const int32_t* recordOf(const StateNode* node) {
    return reinterpret_cast<const int32_t*>(node->payload());
  }
  /// Writes the record of `state` with `hash` into `record` (room for a wide
  /// record); false when the records are narrow and the state does not fit.
  bool encode(int32_t* record, unsigned hash, const GlobalState* state) const;
  /// The record of the offered state in `incoming_`, the records widened
  /// first when it does not fit them.
  const int32_t* encodeOffered(const WaitingState& offered);
  /// Turns every stored record, and the held one, wide: each moves to a node
  /// of the new size, in place of the old one in its chain.
  void widen();
  /// Returns a state node to the run's allocator.
  void freeNode(StateNode* node) { chunkData().allocator->deallocate(node); }
  /// The covering walk of the bucket of `offered`, whose record is
  /// `incoming`: answers false as soon as a stored state includes the new
  /// one, drops every stored state that the new one includes, and otherwise
  /// stores the record as a new waiting state. Waiting states are compared by
  /// their records; a passed state by `passedRelation(node)` (the inclusion
  /// of the stored state in the new one) and
  /// dropped by `freePassed(node)` after it left its chain.
  template <class PassedRelation, class FreePassed>
  bool putCovering(const WaitingState& offered, const int32_t* incoming,
                   PassedRelation passedRelation, FreePassed freePassed) {
    const auto byRecords = [this, incoming](const StateNode* node) {
      return layout_.relation(recordOf(node), incoming);
    };
    return putCovering(offered, incoming, byRecords, passedRelation, freePassed);
  }
  /// The same walk with waiting states compared by `waitingRelation(node)`.
  template <class WaitingRelation, class PassedRelation, class FreePassed>
  bool putCovering(const WaitingState& offered, const int32_t* incoming,
                   WaitingRelation waitingRelation, PassedRelation passedRelation,
                   FreePassed freePassed);
  /// Stores `record` in a new node and queues it, at the head of the bucket
  /// `head`, with the store flag `store`; `offered` is the state it records.
  void pushNew(ChainWord* head, const int32_t* record, const WaitingState& offered, bool store);
  /// A waiting state that a newer one covers leaves the search: the waiting
  /// node (already out of its chain) is freed, and its state node with it
  /// unless the search is still reading it (then it goes at release).
  void dropWaiting(WaitingNode* waiting);
  /// What becomes of an explored state that the search keeps: by default its
  /// state node takes the waiting node's place in the chain (it is passed).
  virtual void keepExplored(WaitingNode* waiting) { replaceByState(waiting); }

  StoredStateLayout layout_;
  bool narrowRecords_;
  bool keepCoveredWaiting_ = false;
  std::size_t nodeBytes_;
  /// Room for the record of the state being offered, in the wide form.
  std::unique_ptr<int32_t[]> incoming_;

private:
  friend class ChunkGSR;
};

template <class WaitingRelation, class PassedRelation, class FreePassed>
bool ChunkPWListBase::putCovering(const WaitingState& offered, const int32_t* incoming,
                                  WaitingRelation waitingRelation, PassedRelation passedRelation,
                                  FreePassed freePassed) {
  // Stored states are compared newest first; `word` is the word that points
  // to the node under examination.
  ChainWord* const head = bucketFor(offered.hash);
  ChainWord* word = head;
  while (const ChainWord address = nextAddress(*word)) {
    ChainWord* const link = linkAt(address);
    const bool waiting = isWaitingWord(*link);
    // The walk chases pointers: fetch the next node while this one is compared.
    __builtin_prefetch(reinterpret_cast<const void*>(nextAddress(*link)));
    const Inclusion relation = waiting ? waitingRelation(waitingAt(address)->stateNode())
                                       : passedRelation(stateAt(address));
    switch (relation) {
    case Inclusion::superset: // the stored state includes the new one
    case Inclusion::equal:
      return false;
    case Inclusion::subset: // the new state includes the stored one: drop it
      if (waiting && keepCoveredWaiting_) {
        word = link;
        continue;
      }
      unlinkAfter(word);
      if (waiting)
        dropWaiting(waitingAt(address));
      else
        freePassed(stateAt(address));
      continue;
    default:
      word = link;
    }
  }
  pushNew(head, incoming, offered, offered.store);
  return true;
}

/// The default list: `tryPut` walks the bucket of the new state, answers
/// false as soon as a stored state includes it, drops every stored state it
/// includes, and otherwise stores it at the head of the bucket and queues it.
/// Under LU simulation, "includes" reads "simulates": the new zone lies within
/// aLU of the stored one (or the other way round), with the bounds of the
/// state's locations (both states have the same locations).
class HashingPWList : public ChunkPWListBase {
public:
  HashingPWList(unsigned buckets, const Pointer<Store>& prototype, const StateShape& shape);

  /// `item` is a `WaitingState*`; its state must be closed, non-empty and of
  /// the list's shape (asserted).
  bool tryPut(void* item) override;
  void setSimulation(const Pointer<ClockBounds>& bounds) override;

private:
  /// The walk under LU simulation.
  bool putSimulated(const WaitingState& offered, const int32_t* incoming);

  Pointer<ClockBounds> simulation_;
  /// The state's bounds and a stored zone, for `putSimulated`.
  std::vector<int32_t> lower_, upper_, stored_;
};

} // namespace orvela
