#pragma once
// The item that travels between move enumeration and the successor stages:
// a state and the edges of the move that produces (or produced) it.

#include <utility>

namespace orvela {

class GlobalState;
class Transition;

/// `first` is the state; `second` a null-terminated array of the edges of the
/// move: one edge for a move of one process, the sending edge then the
/// receiving edge for a binary synchronisation, the sending edge then one
/// receiving edge per receiving process, in increasing process order, for a
/// broadcast. The array belongs to the member that emitted the pair and is
/// valid only during the `tryPut` call that carries it.
using SuccessorPair = std::pair<GlobalState*, const Transition**>;

} // namespace orvela
