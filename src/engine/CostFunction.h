#pragma once
// Cost functions that prune a search.

namespace orvela {

class GlobalState;

/// A cost of a state; a state whose cost reaches the current bound is
/// abandoned. Null where no pruning is wanted.
using CostFunction = int (*)(const GlobalState* state);

/// The bound at start: no state is pruned before a bound is set.
inline constexpr int noCostBound = 1073741823;

} // namespace orvela
