#pragma once
// Consistency check of the bucket chains of a passed/waiting list, for tests
// and debugging. It walks every chain and its waiting store and reports the
// first broken rule.

#include "pwlist/ChainLinks.h"

#include <cstddef>
#include <functional>
#include <string>

namespace orvela {

class WaitingStore;

/// Checks the chains of `buckets` heads against `store`:
///   - bucket heads carry no tag; chains end and share no node;
///   - a waiting node's back link is the word that points to it, its bucket is
///     the head of its chain, and it is not freed;
///   - the waiting nodes in the chains are exactly the store's nodes that are
///     not freed, and no state node is reached twice (directly or through a
///     waiting node);
///   - `checkNode`, when given, accepts every state node with the index of its
///     bucket (an empty answer), for the list's own rules such as the bucket
///     of a stored hash.
/// Answers an empty string when every rule holds, otherwise a description of
/// the first violation found.
std::string
checkChains(const ChainWord* heads, std::size_t buckets, const WaitingStore& store,
            const std::function<std::string(const StateNode*, std::size_t)>& checkNode = nullptr);

} // namespace orvela
