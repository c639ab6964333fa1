#pragma once
// Factories of the waiting orders and of the passed/waiting lists.

#include "model/System.h"
#include "pwlist/PWList.h"
#include "pwlist/StoredState.h"
#include "pwlist/WaitingStores.h"

namespace orvela {

/// New empty waiting stores (reference count 0): breadth-first, depth-first,
/// and smallest `priority` first, none above `*cutoff` (see
/// `PriorityPWListStore`).
WaitingStore* createQueuePWOrder();
WaitingStore* createStackPWOrder();
WaitingStore* createPriorityPWOrder(PriorityFunction priority, const int* cutoff = nullptr);

/// A new default list (`HashingPWList`) of `buckets` chains for states of
/// `shape`, whose runs use clones of `store`, which must be a waiting store
/// (Bug otherwise).
PWList* createDBMPWList(unsigned buckets, Object* store, const StateShape& shape);
/// The same for the states of `system`: its processes, its integer and clock
/// tables, the real (non-meta) integers compared.
PWList* createDBMPWList(unsigned buckets, Object* store, const Pointer<System>& system);

/// The shape of the states of `system`, from its processes and tables.
StateShape stateShapeOf(const System& system);

/// The same for the representation variants: the constraint-reduced list
/// (`PackedPWList`, explored states packed), the convex-hull list
/// (`ConvexHullPWList`, one growing zone per discrete part) and the bit-state
/// list (`BitStateHashingPWList`, explored states remembered by one of `bits`
/// bits).
PWList* createPackedPWList(unsigned buckets, Object* store, const StateShape& shape);
PWList* createConvexHullPWList(unsigned buckets, Object* store, const StateShape& shape);
PWList* createBitStateHashingPWList(unsigned buckets, Object* store, unsigned bits,
                                    const StateShape& shape);

} // namespace orvela
