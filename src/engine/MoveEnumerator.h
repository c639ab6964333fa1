#pragma once
// The discrete moves of a network in one state: single edges, binary
// synchronisations and broadcasts, with the committed-location rule. The
// transition filters differ only in what they do with each move; they share
// this enumerator, whose tables are sized once from the model so that no
// allocation happens per state.

#include "model/System.h"
#include "model/Transition.h"
#include "symbolic/GlobalState.h"
#include "symbolic/PublicState.h"

#include <cstdint>
#include <vector>

namespace orvela {

/// Enumerates the enabled moves of a state of one system. A move is a
/// null-terminated array of edges, valid only during the call that receives
/// it: one edge without synchronisation, a sending and a receiving edge of a
/// binary channel, or a sending edge followed by one receiving edge of every
/// other process that has one enabled on a broadcast channel (in increasing
/// process order; none at all gives the sending edge alone).
///
/// Order of the moves: first, process by process and edge by edge in list
/// order, the edges without synchronisation; then channel by channel in id
/// order, for each sending edge, the combinations with the receiving edges
/// (for a broadcast, an odometer over the receiving processes in increasing
/// order, the lowest varying fastest). An edge takes part only if its integer
/// guards hold. In a committed state (some process in a committed location)
/// only moves in which a participating process is in a committed location are
/// enabled. A synchronisation value that names no channel is ignored.
class MoveEnumerator {
public:
  /// Tables for `system`, which must outlive the enumerator and must not be
  /// rebuilt while it is used; the channel table is read now.
  explicit MoveEnumerator(const System& system);

  /// Calls `emit(const Transition** move)` for every enabled move of the state
  /// that `state` points to, and stops early, answering false, when `emit`
  /// answers false; answers true otherwise. `state` is read anew for every
  /// evaluation, so `emit` may replace the state it points to by a copy with
  /// the same discrete part (the deferral of `SearchTransitionFilter` does). The
  /// array passed to `emit` may be copied but not kept.
  template <class Emit> bool enumerate(GlobalState* const& state, Emit&& emit) {
    return enumerateWith(state, emit,
                         [](const Edge& e, PublicState* s) { return guardHolds(e, s); });
  }
  /// The same, but the integer guards of the edges of the null-terminated
  /// `assumed` count as holding: the moves that would be enabled if they did.
  /// Tells a move disabled by its own guards from a set of edges that is no
  /// move at all.
  template <class Emit>
  bool enumerateAssuming(GlobalState* const& state, const Transition* const* assumed, Emit&& emit) {
    return enumerateWith(state, emit, [assumed](const Edge& e, PublicState* s) {
      for (const Transition* const* a = assumed; *a; ++a)
        if (*a == e.edge)
          return true;
      return guardHolds(e, s);
    });
  }

  int processCount() const { return processes_; }
  /// The largest number of edges of one move plus the terminating null.
  std::size_t moveCapacity() const { return std::size_t(processes_) + 1; }

private:
  struct Edge {
    const Transition* edge;
    int process;
    int sync;          ///< the synchronisation value when it is constant
    bool constantSync; ///< `sync` holds the value in every state
    bool integerGuard; ///< the edge has an integer guard to evaluate
  };
  /// One channel's enabled edges in the current state.
  struct ChannelEdges {
    int senders = 0;
    int receivers = 0;
  };

  const Edge* edgesBegin(int process, int location) const {
    return edges_.data() + outgoing_[locationBase_[std::size_t(process)] + std::size_t(location)];
  }
  const Edge* edgesEnd(int process, int location) const {
    return edges_.data() +
           outgoing_[locationBase_[std::size_t(process)] + std::size_t(location) + 1];
  }
  static int syncValue(const Edge& e, PublicState* state) {
    return e.constantSync ? e.sync : e.edge->getSync()->evaluateScalar(state);
  }
  static bool guardHolds(const Edge& e, PublicState* state) {
    return !e.integerGuard || e.edge->evalIntegerGuards(state);
  }
  const Edge** senders(int channel) {
    return slots_.data() + (2 * std::size_t(channel)) * slotRoom_;
  }
  const Edge** receivers(int channel) {
    return slots_.data() + (2 * std::size_t(channel) + 1) * slotRoom_;
  }
  /// Removes the entries for which `holds` (the integer guard test) fails: a
  /// failing entry is overwritten by the last one, which is tested next.
  /// Answers the new count.
  template <class Holds>
  static int keepEnabled(const Edge** list, int count, PublicState* state, Holds& holds) {
    int k = 0;
    while (k < count) {
      if (holds(*list[k], state))
        ++k;
      else
        list[k] = list[--count];
    }
    return count;
  }
  /// Groups the receiving edges of channel `channel` by process, list order
  /// kept within a process.
  void groupReceivers(int channel);
  bool mayMove(bool committedState, int process) const {
    return !committedState || inCommitted_[std::size_t(process)];
  }

  /// `enumerate` with `holds(const Edge&, PublicState*)` as the integer guard
  /// test.
  template <class Emit, class Holds>
  bool enumerateWith(GlobalState* const& state, Emit& emit, Holds holds);
  template <class Emit> bool emitBinary(int channel, bool committedState, Emit& emit);
  template <class Emit> bool emitBroadcast(int channel, bool committedState, Emit& emit);

  int processes_;
  int channels_;
  std::vector<Edge> edges_;
  /// Index into `edges_` of the first outgoing edge of each location, all
  /// processes one after another, and one past the end.
  std::vector<uint32_t> outgoing_;
  /// Position of each process's first location in `outgoing_` and `committed_`.
  std::vector<std::size_t> locationBase_;
  std::vector<bool> committed_;
  std::vector<bool> broadcast_; ///< by channel id
  /// Per channel, room for `slotRoom_` senders then as many receivers.
  std::vector<const Edge*> slots_;
  std::size_t slotRoom_;
  std::vector<ChannelEdges> counts_; ///< by channel id
  std::vector<bool> inCommitted_;    ///< by process, for the current state
  std::vector<const Transition*> move_;
  /// Broadcast receivers grouped by process: `maxDegree_` slots per process.
  std::vector<const Edge*> groups_;
  std::vector<int> groupCount_;
  std::vector<int> receivingProcesses_; ///< in increasing order
  std::vector<int> taking_;             ///< the receiving processes but the sender's
  std::vector<int> digits_;             ///< the odometer: an edge index per process taking part
  std::size_t maxDegree_;
};

template <class Emit, class Holds>
bool MoveEnumerator::enumerateWith(GlobalState* const& state, Emit& emit, Holds holds) {
  // `state` is read through the reference every time: `emit` may have put a
  // copy in place of the state it pointed to.
  bool committedState = false;
  for (int p = 0; p < processes_; ++p) {
    const bool here =
        committed_[locationBase_[std::size_t(p)] + std::size_t(state->getLocation(unsigned(p)))];
    inCommitted_[std::size_t(p)] = here;
    committedState = committedState || here;
  }
  for (ChannelEdges& count : counts_)
    count = ChannelEdges{};

  for (int p = 0; p < processes_; ++p) {
    const int location = state->getLocation(unsigned(p));
    for (const Edge *e = edgesBegin(p, location), *end = edgesEnd(p, location); e != end; ++e) {
      const int value = syncValue(*e, state);
      if (value < 0) {
        if (-value <= channels_)
          receivers(-value)[counts_[std::size_t(-value)].receivers++] = e;
      } else if (value > 0) {
        if (value <= channels_)
          senders(value)[counts_[std::size_t(value)].senders++] = e;
      } else if (mayMove(committedState, p) && holds(*e, state)) {
        move_[0] = e->edge;
        move_[1] = nullptr;
        if (!emit(move_.data()))
          return false;
      }
    }
  }

  for (int c = 1; c <= channels_; ++c) {
    ChannelEdges& count = counts_[std::size_t(c)];
    if (count.senders == 0)
      continue;
    count.receivers = keepEnabled(receivers(c), count.receivers, state, holds);
    if (!broadcast_[std::size_t(c)] && count.receivers == 0)
      continue;
    count.senders = keepEnabled(senders(c), count.senders, state, holds);
    const bool done = broadcast_[std::size_t(c)] ? emitBroadcast(c, committedState, emit)
                                                 : emitBinary(c, committedState, emit);
    if (!done)
      return false;
  }
  return true;
}

template <class Emit>
bool MoveEnumerator::emitBinary(int channel, bool committedState, Emit& emit) {
  const ChannelEdges count = counts_[std::size_t(channel)];
  const Edge** sending = senders(channel);
  const Edge** receiving = receivers(channel);
  for (int s = 0; s < count.senders; ++s) {
    const Edge& e = *sending[s];
    for (int r = 0; r < count.receivers; ++r) {
      const Edge& d = *receiving[r];
      if (e.process == d.process)
        continue;
      if (committedState && !inCommitted_[std::size_t(e.process)] &&
          !inCommitted_[std::size_t(d.process)])
        continue;
      move_[0] = e.edge;
      move_[1] = d.edge;
      move_[2] = nullptr;
      if (!emit(move_.data()))
        return false;
    }
  }
  return true;
}

template <class Emit>
bool MoveEnumerator::emitBroadcast(int channel, bool committedState, Emit& emit) {
  groupReceivers(channel);
  const int senderCount = counts_[std::size_t(channel)].senders;
  const Edge** sending = senders(channel);
  for (int s = 0; s < senderCount; ++s) {
    const Edge& e = *sending[s];
    // The processes taking part: every receiving process but the sender's;
    // digits_[g] is the edge chosen for the g-th of them.
    int taking = 0;
    for (int p : receivingProcesses_)
      if (p != e.process) {
        taking_[std::size_t(taking)] = p;
        digits_[std::size_t(taking)] = 0;
        ++taking;
      }
    while (true) {
      bool committedMove = !committedState || inCommitted_[std::size_t(e.process)];
      move_[0] = e.edge;
      for (int g = 0; g < taking; ++g) {
        const int p = taking_[std::size_t(g)];
        const Edge& d =
            *groups_[std::size_t(p) * maxDegree_ + std::size_t(digits_[std::size_t(g)])];
        move_[std::size_t(g) + 1] = d.edge;
        committedMove = committedMove || inCommitted_[std::size_t(p)];
      }
      move_[std::size_t(taking) + 1] = nullptr;
      if (committedMove && !emit(move_.data()))
        return false;
      int g = 0;
      for (; g < taking; ++g) {
        const int p = taking_[std::size_t(g)];
        if (++digits_[std::size_t(g)] < groupCount_[std::size_t(p)])
          break;
        digits_[std::size_t(g)] = 0;
      }
      if (g == taking)
        break;
    }
  }
  return true;
}

} // namespace orvela
