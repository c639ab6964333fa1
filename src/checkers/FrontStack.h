#pragma once
// The path of the depth-first liveness search, from the start state to the
// state being expanded, with a hash index on the discrete part of its states
// so that a successor finds the path states it may close a loop with.

#include "base/Object.h"
#include "checkers/PathStep.h"

#include <cstddef>
#include <vector>

namespace orvela {

class Detector;
class GlobalState;

/// A stack of path steps. Each node is also linked into the hash bucket of
/// its state's discrete part (`discreteHash`). The stack keeps the steps but
/// not the memory of their states: whoever pops a step disposes of its state.
class FrontStack : public Object {
public:
  struct Node {
    PathStep step;
    /// The node pushed before this one (null at the bottom).
    Node* below = nullptr;
    /// The next node of the same bucket, and the link that points to this
    /// node (a bucket head or the previous node's `chainNext`).
    Node* chainNext = nullptr;
    Node** chainLink = nullptr;
    /// The size of the pending list when the node was pushed: the node is
    /// finished once the list is back to that size.
    std::size_t mark = 0;
  };

  /// `buckets` hash buckets (at least 1).
  explicit FrontStack(int buckets);
  FrontStack(const FrontStack&) = delete;
  FrontStack& operator=(const FrontStack&) = delete;
  ~FrontStack() override;

  bool empty() const { return top_ == nullptr; }
  /// The last node pushed; null when empty.
  const Node* top() const { return top_; }
  std::size_t depth() const { return depth_; }

  /// Pushes `step` (its state must not be null) and links it at the front of
  /// its bucket.
  void push(PathStep step, std::size_t mark);
  /// Removes the top node from the stack and from its bucket and answers its
  /// step; a step with no state when the stack is empty.
  PathStep pop();

  /// The first node of the bucket of `state` whose state has the same
  /// discrete part, whose zone meets the zone of `state` and for which
  /// `detector.prestabilizable` holds; null when there is none.
  const Node* find(const GlobalState* state, Detector& detector) const;

private:
  std::vector<Node*> buckets_;
  Node* top_ = nullptr;
  std::size_t depth_ = 0;
};

} // namespace orvela
