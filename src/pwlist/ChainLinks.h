#pragma once
// The bucket chains of the passed/waiting lists. A chain holds two kinds of
// node, both starting with a link word:
//   state node    a stored state (passed, or reached through a waiting node)
//   waiting node  stands in the chain for a state node that waits to be
//                 explored: link, back link, state word, bucket
// A link word holds the address of the next node in the chain (0 at the end)
// and, in bit 0, the kind of its own node: set in a waiting node, clear in a
// state node. Bucket heads are plain addresses without a tag. Whoever rewrites
// a word to point elsewhere keeps the word's own tag bit.
//
// A waiting node's back link is the address of the word that points to it (a
// bucket head or the link word of the node before it), so that the node can
// leave its chain in constant time. Every change of a chain below keeps the
// back links of the waiting nodes after the changed word right.

#include <cassert>
#include <cstdint>

namespace orvela {

/// A bucket head or the link word of a node.
using ChainWord = std::uintptr_t;

/// Bit 0 of a link word: the word's own node is a waiting node.
inline constexpr ChainWord waitingTag = 1;

inline constexpr bool isWaitingWord(ChainWord word) { return (word & waitingTag) != 0; }
/// The address a chain word points to (0 at the end).
inline constexpr ChainWord nextAddress(ChainWord word) { return word & ~waitingTag; }
/// `word` pointing to `address` instead, its own tag kept.
inline constexpr ChainWord redirected(ChainWord word, ChainWord address) {
  return (word & waitingTag) | address;
}

static_assert(isWaitingWord(0x1001) && !isWaitingWord(0x1000));
static_assert(nextAddress(0x1001) == 0x1000 && redirected(0x1001, 0x2000) == 0x2001);

/// The head of a stored state's block; the list's record of the state follows
/// it. No other data member may be added: the record is addressed from `this`.
struct StateNode {
  ChainWord link;

  /// The first byte after the link word.
  unsigned char* payload() { return reinterpret_cast<unsigned char*>(this + 1); }
  const unsigned char* payload() const { return reinterpret_cast<const unsigned char*>(this + 1); }
};

/// The stand-in of a waiting state in its chain. The state word holds the
/// state node's address with the store flag in bit 0, and 0 once the node has
/// left its chain (freed); a freed node stays in its waiting store until the
/// store reaches it (lazy deletion).
struct WaitingNode {
  ChainWord link;
  ChainWord* back;
  std::uintptr_t state;
  ChainWord* bucket;

  bool freed() const { return state == 0; }
  StateNode* stateNode() const { return reinterpret_cast<StateNode*>(state & ~std::uintptr_t(1)); }
  /// True when the list keeps the state as passed after exploring it.
  bool storeFlag() const { return (state & 1) != 0; }
};

static_assert(alignof(StateNode) >= 2 && alignof(WaitingNode) >= 2,
              "bit 0 of a node address must be free for the tag");
static_assert(sizeof(StateNode) == sizeof(ChainWord) &&
                  sizeof(WaitingNode) == 4 * sizeof(ChainWord),
              "nodes are flat blocks of chain words");

/// The address of a node, for a chain word; asserts that bit 0 is free.
inline ChainWord addressOf(const void* node) {
  const ChainWord address = reinterpret_cast<ChainWord>(node);
  assert((address & waitingTag) == 0 && "chain nodes must be word-aligned");
  return address;
}

/// The link word of the node at `address` (a non-zero chain address).
inline ChainWord* linkAt(ChainWord address) { return reinterpret_cast<ChainWord*>(address); }

inline WaitingNode* waitingAt(ChainWord address) { return reinterpret_cast<WaitingNode*>(address); }
inline StateNode* stateAt(ChainWord address) { return reinterpret_cast<StateNode*>(address); }

/// Fills a new waiting node for `node` with the given store flag, tagged and
/// outside every chain.
inline void makeWaiting(WaitingNode& waiting, StateNode* node, bool store) {
  waiting.link = waitingTag;
  waiting.back = nullptr;
  waiting.state = addressOf(node) | (store ? 1 : 0);
  waiting.bucket = nullptr;
}

/// After the word `word` now points to `address`: a waiting node there learns
/// its new back link.
inline void adoptSuccessor(ChainWord* word, ChainWord address) {
  if (address && isWaitingWord(*linkAt(address)))
    waitingAt(address)->back = word;
}

/// Puts `waiting` at the head of the bucket `head`.
inline void pushWaiting(ChainWord* head, WaitingNode* waiting) {
  const ChainWord old = *head;
  waiting->link = old | waitingTag;
  waiting->back = head;
  waiting->bucket = head;
  adoptSuccessor(&waiting->link, old);
  *head = addressOf(waiting);
}

/// Removes the node that `word` points to from its chain; the word takes the
/// node's successor. Answers the removed node's address.
inline ChainWord unlinkAfter(ChainWord* word) {
  const ChainWord node = nextAddress(*word);
  assert(node && "nothing to unlink at the end of a chain");
  const ChainWord successor = nextAddress(*linkAt(node));
  *word = redirected(*word, successor);
  adoptSuccessor(word, successor);
  return node;
}

/// A waiting node leaves its chain and is freed; its state node stays as it is.
inline void unlinkWaiting(WaitingNode* waiting) {
  assert(!waiting->freed() && "waiting node already left its chain");
  unlinkAfter(waiting->back);
  waiting->state = 0;
}

/// The state node of `waiting` takes the waiting node's place in the chain (it
/// becomes a passed state) and the waiting node is freed.
inline void replaceByState(WaitingNode* waiting) {
  assert(!waiting->freed() && "waiting node already left its chain");
  StateNode* node = waiting->stateNode();
  const ChainWord successor = nextAddress(waiting->link);
  node->link = successor;
  *waiting->back = redirected(*waiting->back, addressOf(node));
  adoptSuccessor(&node->link, successor);
  waiting->state = 0;
}

/// The reverse of `replaceByState`: the passed state node that `word` (a word
/// of the chain whose head is `head`) points to goes back to waiting, and
/// `waiting`, a new node for it from the store, takes its place in the chain.
inline void replaceByWaiting(ChainWord* word, ChainWord* head, WaitingNode* waiting) {
  const ChainWord address = nextAddress(*word);
  assert(address && !isWaitingWord(*linkAt(address)) && "only a passed state goes back");
  assert(waiting->stateNode() == stateAt(address) && "the waiting node stands for another state");
  const ChainWord successor = nextAddress(*linkAt(address));
  waiting->link = successor | waitingTag;
  waiting->back = word;
  waiting->bucket = head;
  stateAt(address)->link = 0;
  *word = redirected(*word, addressOf(waiting));
  adoptSuccessor(&waiting->link, successor);
}

/// The state node that the chain node at `address` stands for.
inline StateNode* storedAt(ChainWord address) {
  return isWaitingWord(*linkAt(address)) ? waitingAt(address)->stateNode() : stateAt(address);
}

} // namespace orvela
