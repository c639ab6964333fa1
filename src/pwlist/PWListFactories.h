#pragma once
// Factories of the waiting orders and of the default passed/waiting list.

#include "pwlist/PWList.h"
#include "pwlist/StoredState.h"
#include "pwlist/WaitingStores.h"

namespace orvela {

/// New empty waiting stores (reference count 0): breadth-first, depth-first,
/// and smallest `priority` first.
WaitingStore* createQueuePWOrder();
WaitingStore* createStackPWOrder();
WaitingStore* createPriorityPWOrder(PriorityFunction priority);

/// A new default list (`HashingPWList`) of `buckets` chains for states of
/// `shape`, whose runs use clones of `store`, which must be a waiting store
/// (Bug otherwise).
PWList* createDBMPWList(unsigned buckets, Object* store, const StateShape& shape);

} // namespace orvela
