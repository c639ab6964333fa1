#pragma once
// One timed automaton of the network: its locations, its edges, its initial
// location, and the tables derived from them for the exploration engine.

#include "base/Object.h"
#include "model/ChannelInfo.h"
#include "model/ControlState.h"
#include "model/ModelVisitor.h"
#include "model/Transition.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace orvela {

/// Summary of the edges from one location to another, by what they need to
/// synchronise.
enum EdgeCode : uint8_t {
  noEdge = 0,      ///< no edge
  sendingEdge = 1, ///< some edge may send
  receiveOnly = 2, ///< every edge can only receive
  silentEdge = 3,  ///< some edge may move without synchronising, none sends
};

/// A process: a fixed array of locations and a list of edges.
class Process : public Object, public ModelElement {
public:
  /// A process with `locationCount` empty location slots and no edges.
  Process(short locationCount, const char* name);

  /// Visits every location, then every edge, then calls `visitProcess`.
  void accept(ModelVisitor& visitor) override;

  const char* getName() const { return name_.c_str(); }
  int getLocationCount() const { return static_cast<int>(locations_.size()); }
  short getInitial() const { return initial_; }
  void setInitial(short location) { initial_ = location; }
  int getFirstLocationId() const { return firstLocationId_; }
  void setFirstLocationId(int id) { firstLocationId_ = id; }
  int getPosition() const { return position_; }
  void setPosition(int position) { position_ = position; }

  void setControlState(int index, const Pointer<ControlState>& location);
  ControlState* getControlState(int index) const;

  /// Appends to the outgoing edges of location `index`.
  void setTransitionFrom(int index, const Pointer<Transition>& edge);
  /// Appends to the incoming edges of location `index`.
  void setTransitionTo(int index, const Pointer<Transition>& edge);
  const std::vector<Pointer<Transition>>& getTransitionsFrom(int index) const;
  const std::vector<Pointer<Transition>>& getTransitionsTo(int index) const;
  void setTransitions(std::vector<Pointer<Transition>> edges) { edges_ = std::move(edges); }
  const std::vector<Pointer<Transition>>& getTransitions() const { return edges_; }

  /// Whether location `index` is a loop entry: a state that has just entered
  /// it must be kept in the passed list.
  bool isLoopEntry(int index) const { return loopEntries_[static_cast<std::size_t>(index)]; }
  /// The edge code from location `from` to location `to`, as computed by the
  /// last `buildProcess`.
  EdgeCode getEdgeCode(int from, int to) const;

  /// Stores `processIndex` in every edge and numbers the edges 0, 1, ... in
  /// list order.
  void markTransitions(int processIndex);
  /// Derives the per-location channel summaries and urgent edge lists, the
  /// incoming and outgoing edge lists, the edges' clock sets, the edge codes
  /// and the loop-entry marks, over the model's `channels`. Every location
  /// must be set. Building again replaces what an earlier build derived.
  void buildProcess(const std::vector<ChannelInfo>& channels);
  /// The active-clock analysis: the least sets of clocks per location that
  /// contain the clocks of the location's invariant and, for every edge from
  /// s to s', the clocks the edge reads and those active in s' that it does
  /// not reset.
  void propagateActiveClocks();
  /// Empties the active-clock set of every location.
  void clearActiveClocks();
  /// Diagnostic: name, locations (loop entries between "+"), edges.
  void display(std::ostream& out) const;

private:
  void summariseEdge(const Pointer<Transition>& edge, const std::vector<ChannelInfo>& channels);
  void searchLoops();
  void closeCycle(const std::vector<int>& path, int entry);
  /// The summary of the edges from `from` to `to` in `from`'s row, added as
  /// `noEdge` when there is none yet.
  EdgeCode& codeEntry(int from, int to);

  short initial_ = -1;
  std::vector<Pointer<ControlState>> locations_;
  std::vector<std::vector<Pointer<Transition>>> outgoing_;
  std::vector<std::vector<Pointer<Transition>>> incoming_;
  std::vector<Pointer<Transition>> edges_;
  int firstLocationId_ = -1;
  int position_ = -1;
  std::vector<bool> loopEntries_;
  /// Per source location, the edge codes by target, sorted by target; only
  /// pairs joined by an edge have an entry, so the table grows with the edges.
  std::vector<std::vector<std::pair<int, EdgeCode>>> edgeCodes_;
  std::string name_;
};

} // namespace orvela
