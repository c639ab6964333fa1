#include "engine/MoveEnumerator.h"

#include "model/ControlState.h"
#include "model/Process.h"

#include <algorithm>

namespace orvela {

MoveEnumerator::MoveEnumerator(const System& system)
    : processes_(system.getProcessCount()), channels_(system.tables().channelCount()) {
  std::size_t senderRoom = 0; // the sum over processes of the largest out-degree
  maxDegree_ = 1;
  outgoing_.push_back(0);
  for (int p = 0; p < processes_; ++p) {
    const Process& process = *system.getProcess(p);
    locationBase_.push_back(committed_.size());
    std::size_t degree = 0;
    for (int location = 0; location < process.getLocationCount(); ++location) {
      committed_.push_back(process.getControlState(location)->isCommitted());
      const auto& edges = process.getTransitionsFrom(location);
      for (const Pointer<Transition>& edge : edges) {
        const Pointer<Expression>& sync = edge->getSync();
        const bool constant = !sync || sync->isConstant();
        edges_.push_back({edge.get(), p, constant && sync ? sync->evaluateScalar(nullptr) : 0,
                          constant, bool(edge->getIntegerGuard())});
      }
      outgoing_.push_back(uint32_t(edges_.size()));
      degree = std::max(degree, edges.size());
    }
    senderRoom += degree;
    maxDegree_ = std::max(maxDegree_, degree);
  }
  broadcast_.assign(std::size_t(channels_) + 1, false);
  for (int c = 1; c <= channels_; ++c)
    broadcast_[std::size_t(c)] = system.tables().channel(c).broadcast;
  slotRoom_ = std::max<std::size_t>(senderRoom, 1);
  slots_.assign(2 * (std::size_t(channels_) + 1) * slotRoom_, nullptr);
  counts_.assign(std::size_t(channels_) + 1, ChannelEdges{});
  inCommitted_.assign(std::size_t(processes_), false);
  move_.assign(std::max<std::size_t>(moveCapacity(), 3), nullptr);
  groups_.assign(std::size_t(processes_) * maxDegree_, nullptr);
  groupCount_.assign(std::size_t(processes_), 0);
  taking_.assign(std::size_t(processes_), 0);
  digits_.assign(std::size_t(processes_), 0);
  receivingProcesses_.reserve(std::size_t(processes_));
}

void MoveEnumerator::groupReceivers(int channel) {
  std::fill(groupCount_.begin(), groupCount_.end(), 0);
  const Edge** receiving = receivers(channel);
  const int count = counts_[std::size_t(channel)].receivers;
  for (int r = 0; r < count; ++r) {
    const std::size_t p = std::size_t(receiving[r]->process);
    groups_[p * maxDegree_ + std::size_t(groupCount_[p]++)] = receiving[r];
  }
  receivingProcesses_.clear();
  for (int p = 0; p < processes_; ++p)
    if (groupCount_[std::size_t(p)] > 0)
      receivingProcesses_.push_back(p);
}

} // namespace orvela
