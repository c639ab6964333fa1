#include "parallel/WorkerList.h"

#include "base/Exceptions.h"

#include <chrono>
#include <thread>

namespace orvela {

bool WorkerList::tryPut(void* item) {
  if (!shared_.list.put(*static_cast<WaitingState*>(item)))
    return false;
  ++stored_;
  return true;
}

bool WorkerList::tryGet(void* out) {
  while (!shared_.stop.load(std::memory_order_relaxed)) {
    if (shared_.list.take(cursor_, shared_.workers, scratch_)) {
      ++explored_;
      stepWatch();
      *static_cast<GlobalStateReference**>(out) = &reference_;
      return true;
    }
    if (!awaitWork())
      return false;
  }
  return false;
}

bool WorkerList::awaitWork() {
  // A worker counts as idle from a take that found nothing until it sees a
  // waiting state again. It found nothing after its own last put, so when
  // all are idle at once every state put has been taken and expanded.
  if (shared_.idle.fetch_add(1) + 1 == shared_.workers)
    shared_.done.store(true);
  for (unsigned round = 0;; ++round) {
    if (shared_.done.load() || shared_.stop.load(std::memory_order_relaxed))
      return false;
    if (shared_.list.waiting() > 0) {
      shared_.idle.fetch_sub(1);
      return true;
    }
    if (round < 64)
      std::this_thread::yield();
    else
      std::this_thread::sleep_for(std::chrono::microseconds(20));
  }
}

std::size_t WorkerList::getSize() const { return shared_.list.waiting(); }

Pointer<PureSource> WorkerList::enumStates() const {
  throw Bug("A worker's view of a shared list cannot enumerate it");
}

void WorkerList::clear() {
  explored_ = 0;
  stored_ = 0;
}

void WorkerList::setSimulation(const Pointer<ClockBounds>& bounds) {
  shared_.list.setSimulation(bounds);
}

} // namespace orvela
