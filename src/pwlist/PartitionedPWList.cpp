#include "pwlist/PartitionedPWList.h"

#include "symbolic/GlobalStateReference.h"

#include <algorithm>

namespace orvela {

PartitionedPWList::PartitionedPWList(unsigned partitions, const ListMaker& make)
    : count_(std::max(partitions, 1u)), parts_(new Part[count_]) {
  for (unsigned p = 0; p < count_; ++p)
    parts_[p].list = make();
}

bool PartitionedPWList::put(const WaitingState& offered) {
  Part& part = parts_[partitionOf(offered.hash)];
  std::lock_guard<std::mutex> guard(part.lock);
  WaitingState copy = offered; // tryPut takes a mutable item
  const bool stored = part.list->tryPut(&copy);
  part.waiting.store(part.list->getSize(), std::memory_order_relaxed);
  return stored;
}

bool PartitionedPWList::take(unsigned& cursor, unsigned stride, GlobalState* target) {
  const unsigned own = count_ / stride;
  for (unsigned k = 0; k < own; ++k) {
    const unsigned index = (cursor + k * stride) % count_;
    if (takeFrom(index, target)) {
      cursor = index;
      return true;
    }
  }
  for (unsigned k = 0; k < count_; ++k)
    if (takeFrom((cursor + k) % count_, target))
      return true;
  return false;
}

bool PartitionedPWList::takeFrom(unsigned index, GlobalState* target) {
  Part& part = parts_[index];
  std::lock_guard<std::mutex> guard(part.lock);
  GlobalStateReference* reference = nullptr;
  const bool taken = part.list->tryGet(&reference);
  if (taken) {
    reference->writeDiscreteTo(target);
    reference->writeSymbolicTo(target);
    reference->release(!reference->getFlag());
  }
  part.waiting.store(part.list->getSize(), std::memory_order_relaxed);
  return taken;
}

std::size_t PartitionedPWList::waiting() const {
  std::size_t total = 0;
  for (unsigned p = 0; p < count_; ++p)
    total += parts_[p].waiting.load(std::memory_order_relaxed);
  return total;
}

void PartitionedPWList::setSimulation(const Pointer<ClockBounds>& bounds) {
  for (unsigned p = 0; p < count_; ++p)
    parts_[p].list->setSimulation(bounds);
}

std::uint64_t PartitionedPWList::sum(std::uint64_t (PWList::*count)() const) const {
  std::uint64_t total = 0;
  for (unsigned p = 0; p < count_; ++p) {
    std::lock_guard<std::mutex> guard(parts_[p].lock);
    total += (*parts_[p].list.*count)();
  }
  return total;
}

} // namespace orvela
