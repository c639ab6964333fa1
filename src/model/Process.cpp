#include "model/Process.h"

#include "formula/TCTLExpression.h"

#include <algorithm>
#include <cassert>
#include <deque>
#include <ostream>

namespace orvela {

Process::Process(short locationCount, const char* name)
    : locations_(static_cast<std::size_t>(std::max<short>(locationCount, 0))),
      outgoing_(locations_.size()), incoming_(locations_.size()),
      loopEntries_(locations_.size(), false), name_(name) {}

void Process::accept(ModelVisitor& visitor) {
  for (const Pointer<ControlState>& location : locations_)
    if (location)
      location->accept(visitor);
  for (const Pointer<Transition>& edge : edges_)
    edge->accept(visitor);
  visitor.visitProcess(this);
}

void Process::setControlState(int index, const Pointer<ControlState>& location) {
  locations_.at(static_cast<std::size_t>(index)) = location;
}

ControlState* Process::getControlState(int index) const {
  return locations_.at(static_cast<std::size_t>(index)).get();
}

void Process::setTransitionFrom(int index, const Pointer<Transition>& edge) {
  outgoing_.at(static_cast<std::size_t>(index)).push_back(edge);
}

void Process::setTransitionTo(int index, const Pointer<Transition>& edge) {
  incoming_.at(static_cast<std::size_t>(index)).push_back(edge);
}

const std::vector<Pointer<Transition>>& Process::getTransitionsFrom(int index) const {
  return outgoing_.at(static_cast<std::size_t>(index));
}

const std::vector<Pointer<Transition>>& Process::getTransitionsTo(int index) const {
  return incoming_.at(static_cast<std::size_t>(index));
}

namespace {

bool targetBefore(const std::pair<int, EdgeCode>& entry, int target) {
  return entry.first < target;
}

} // namespace

EdgeCode& Process::codeEntry(int from, int to) {
  auto& row = edgeCodes_.at(static_cast<std::size_t>(from));
  auto at = std::lower_bound(row.begin(), row.end(), to, targetBefore);
  if (at == row.end() || at->first != to)
    at = row.insert(at, {to, noEdge});
  return at->second;
}

EdgeCode Process::getEdgeCode(int from, int to) const {
  if (edgeCodes_.empty())
    return noEdge;
  const auto& row = edgeCodes_.at(static_cast<std::size_t>(from));
  const auto at = std::lower_bound(row.begin(), row.end(), to, targetBefore);
  return at != row.end() && at->first == to ? at->second : noEdge;
}

void Process::markTransitions(int processIndex) {
  int index = 0;
  for (const Pointer<Transition>& edge : edges_) {
    edge->setProcessIndex(processIndex);
    edge->setIndex(index++);
  }
}

void Process::buildProcess(const std::vector<ChannelInfo>& channels) {
  for (const Pointer<ControlState>& location : locations_) {
    assert(location && "process built with a location missing");
    location->buildState(static_cast<int>(channels.size()));
  }
  const std::size_t n = locations_.size();
  edgeCodes_.assign(n, {});
  for (auto& list : outgoing_)
    list.clear();
  for (auto& list : incoming_)
    list.clear();
  for (const Pointer<Transition>& edge : edges_)
    summariseEdge(edge, channels);
  loopEntries_.assign(n, false);
  searchLoops();
}

void Process::summariseEdge(const Pointer<Transition>& edge,
                            const std::vector<ChannelInfo>& channels) {
  edge->setProcessObject(this);
  edge->update();
  const int source = edge->getSource();
  setTransitionFrom(source, edge);
  setTransitionTo(edge->getTarget(), edge);

  const Interval values = edge->getSync() ? edge->getSync()->getRange() : Interval(0, 0);
  EdgeCode& code = codeEntry(source, edge->getTarget());
  if (values.second >= 1)
    code = sendingEdge;
  else if (values.second < 0) {
    if (code == noEdge)
      code = receiveOnly;
  } else if (code != sendingEdge)
    code = silentEdge;

  // Only values that name a channel matter; the bounds keep a wide static
  // range from running over every integer.
  const int count = static_cast<int>(channels.size());
  const int lowest = std::max(values.first, -count);
  const int highest = std::min(values.second, count);
  ControlState& location = *locations_[static_cast<std::size_t>(source)];
  bool urgent = false;
  bool broadcast = false;
  for (int value = lowest; value <= highest; ++value) {
    if (value == 0)
      continue;
    const int channel = value > 0 ? value - 1 : -value - 1;
    const ChannelInfo& info = channels[static_cast<std::size_t>(channel)];
    urgent = urgent || info.urgent;
    broadcast = broadcast || info.broadcast;
    if (info.broadcast)
      continue;
    if (info.urgent) {
      if (value > 0)
        location.getUrgentSync().addOutputChannel(channel);
      else
        location.getUrgentSync().addInputChannel(channel);
    }
    if (value > 0)
      location.getSync().addOutputChannel(channel);
    else
      location.getSync().addInputChannel(channel);
  }
  if (urgent) {
    if (!broadcast)
      location.getUrgentTransitions().push_back(edge);
    else if (values.second > 0)
      location.getUrgentBroadcastTransitions().push_back(edge);
  }
}

// Depth-first search from the initial location over the edge graph, with an
// explicit stack so that long chains of locations cannot exhaust the call
// stack. `path` is the current search path; an edge to a location on it
// closes a cycle.
void Process::searchLoops() {
  const int n = getLocationCount();
  if (initial_ < 0 || initial_ >= n)
    return;
  std::vector<bool> visited(static_cast<std::size_t>(n), false);
  std::vector<bool> onPath(static_cast<std::size_t>(n), false);
  std::vector<int> path;
  struct Frame {
    int location;
    std::size_t next; ///< the position in the location's row of the next successor
  };
  std::vector<Frame> stack;
  const auto enter = [&](int u) {
    visited[static_cast<std::size_t>(u)] = true;
    onPath[static_cast<std::size_t>(u)] = true;
    path.push_back(u);
    stack.push_back({u, 0});
    const EdgeCode self = getEdgeCode(u, u);
    if (self == sendingEdge || self == silentEdge)
      loopEntries_[static_cast<std::size_t>(u)] = true;
  };
  enter(initial_);
  // Successors are taken in increasing order of their index, as the rows
  // are sorted.
  while (!stack.empty()) {
    const int u = stack.back().location;
    const auto& row = edgeCodes_[static_cast<std::size_t>(u)];
    std::size_t next = stack.back().next;
    while (next < row.size() && row[next].first == u)
      ++next;
    if (next == row.size()) {
      onPath[static_cast<std::size_t>(u)] = false;
      path.pop_back();
      stack.pop_back();
      continue;
    }
    stack.back().next = next + 1;
    const int j = row[next].first;
    if (onPath[static_cast<std::size_t>(j)])
      closeCycle(path, j);
    else if (!visited[static_cast<std::size_t>(j)])
      enter(j);
  }
}

// The edge from the end of `path` back to `entry`, which is on the path,
// closes the cycle entry -> ... -> end of path -> entry.
void Process::closeCycle(const std::vector<int>& path, int entry) {
  const auto start = std::find(path.begin(), path.end(), entry);
  bool sends = false;
  bool receiveOnlyEdge = false;
  bool marked = false;
  for (auto at = start; at != path.end(); ++at) {
    const int next = at + 1 == path.end() ? entry : *(at + 1);
    const EdgeCode code = getEdgeCode(*at, next);
    sends = sends || code == sendingEdge;
    receiveOnlyEdge = receiveOnlyEdge || code == receiveOnly;
    marked = marked || loopEntries_[static_cast<std::size_t>(*at)];
  }
  if (!marked && !(receiveOnlyEdge && !sends))
    loopEntries_[static_cast<std::size_t>(entry)] = true;
}

void Process::propagateActiveClocks() {
  for (const Pointer<ControlState>& location : locations_)
    if (location->getInvariant())
      location->getInvariant()->collectClocks(location->getActiveClocks());
  for (const Pointer<Transition>& edge : edges_) {
    const std::set<int>& used = edge->getUsedClocks();
    locations_[static_cast<std::size_t>(edge->getSource())]->getActiveClocks().insert(used.begin(),
                                                                                      used.end());
  }
  std::deque<int> work;
  for (int location = 0; location < getLocationCount(); ++location)
    work.push_back(location);
  while (!work.empty()) {
    const int location = work.front();
    work.pop_front();
    const std::set<int>& active = locations_[static_cast<std::size_t>(location)]->getActiveClocks();
    for (const Pointer<Transition>& edge : getTransitionsTo(location)) {
      std::set<int>& before =
          locations_[static_cast<std::size_t>(edge->getSource())]->getActiveClocks();
      bool grown = false;
      for (int clock : active)
        if (!edge->getResetClocks().contains(clock) && before.insert(clock).second)
          grown = true;
      if (grown)
        work.push_back(edge->getSource());
    }
  }
}

void Process::clearActiveClocks() {
  for (const Pointer<ControlState>& location : locations_)
    location->getActiveClocks().clear();
}

void Process::display(std::ostream& out) const {
  out << "Process: " << name_ << "\n  Process with " << locations_.size() << " states.\nStates:\n";
  for (std::size_t index = 0; index < locations_.size(); ++index) {
    const ControlState& location = *locations_[index];
    if (loopEntries_[index])
      out << "  +" << location.getName() << "+ ";
    else
      out << "  " << location.getName() << ' ';
    location.print(out);
    out << '\n';
  }
  out << "Transitions: \n";
  for (const Pointer<Transition>& edge : edges_) {
    out << "  ";
    edge->display(out, 0);
    out << '\n';
  }
}

} // namespace orvela
