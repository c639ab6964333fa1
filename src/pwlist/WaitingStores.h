#pragma once
// The waiting stores of the passed/waiting lists: they own the waiting nodes
// and decide the order in which waiting states are explored. A waiting node
// that leaves its chain early (its state was covered) is only marked freed;
// the store discards it when it reaches the front (lazy deletion), which makes
// dropping a waiting state cost O(1).
//
// Nodes are held in deques: their addresses stay put while nodes are added and
// removed at the ends, which the chains' back links rely on, and nodes are
// allocated in blocks rather than one by one.

#include "base/Object.h"
#include "pwlist/ChainLinks.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <utility>

namespace orvela {

class GlobalState;

/// The order of exploration of a passed/waiting list.
class WaitingStore : public Object {
public:
  /// Creates and keeps the waiting node of `node` with the store flag
  /// `store`, tagged and not yet in a chain. `state` is the state being stored
  /// (the content of `node`), for stores that order by it.
  virtual WaitingNode* add(StateNode* node, bool store, const GlobalState* state) = 0;
  /// The next waiting node that is not freed, discarding freed nodes before
  /// it; null when none is left. The node stays in the store.
  virtual WaitingNode* front() = 0;
  /// Drops every node.
  virtual void clear() = 0;
  /// A new empty store of the same kind (reference count 0).
  virtual WaitingStore* clone() const = 0;
  /// Calls `visit` for every node held, freed ones included (for checks).
  virtual void forEach(const std::function<void(const WaitingNode&)>& visit) const = 0;

  /// The nodes held, freed ones included until they are discarded.
  std::size_t getCount() const { return count_; }
  static bool freed(const WaitingNode* node) { return node->freed(); }

protected:
  std::size_t count_ = 0;
};

/// A store whose nodes sit in one deque in insertion order; subclasses take
/// them from one end or the other.
class DequeWaitingStore : public WaitingStore {
public:
  WaitingNode* add(StateNode* node, bool store, const GlobalState* state) override;
  void clear() override;
  void forEach(const std::function<void(const WaitingNode&)>& visit) const override;

protected:
  std::deque<WaitingNode> nodes_;
};

/// First in, first out: breadth-first order.
class WaitingQueueStore2 final : public DequeWaitingStore {
public:
  WaitingNode* front() override;
  WaitingStore* clone() const override { return new WaitingQueueStore2(); }
};

/// Last in, first out: depth-first order.
class WaitingStackStore2 final : public DequeWaitingStore {
public:
  WaitingNode* front() override;
  WaitingStore* clone() const override { return new WaitingStackStore2(); }
};

/// The priority of a state: smaller comes first.
using PriorityFunction = std::function<int(const GlobalState*)>;

/// Smallest priority first, insertion order among equal priorities. With a
/// cutoff, states whose priority lies above `*cutoff` are never handed out:
/// a branch-and-bound search lowers the cutoff as it finds better answers,
/// and ends when every state left waiting is above it.
class PriorityPWListStore final : public WaitingStore {
public:
  /// `cutoff` (may be null: no cutoff) must outlive the store and its clones.
  explicit PriorityPWListStore(PriorityFunction priority, const int* cutoff = nullptr)
      : priority_(std::move(priority)), cutoff_(cutoff) {}
  WaitingNode* add(StateNode* node, bool store, const GlobalState* state) override;
  WaitingNode* front() override;
  void clear() override;
  WaitingStore* clone() const override { return new PriorityPWListStore(priority_, cutoff_); }
  void forEach(const std::function<void(const WaitingNode&)>& visit) const override;

private:
  PriorityFunction priority_;
  const int* cutoff_;
  std::map<int, std::deque<WaitingNode>> levels_;
};

} // namespace orvela
