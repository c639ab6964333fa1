#include "pwlist/ConvexHullPWList.h"

#include "symbolic/GlobalState.h"
#include "symbolic/ScratchRegion.h"

#include <vector>

namespace orvela {

ConvexHullPWList::ConvexHullPWList(unsigned buckets, const Pointer<Store>& prototype,
                                   const StateShape& shape)
    : ChunkPWListBase(buckets, prototype, shape) {}

bool ConvexHullPWList::tryPut(void* item) {
  const WaitingState& offered = *static_cast<const WaitingState*>(item);
  chunk_data_t& run = chunkData();
  const int32_t* incoming = encodeOffered(offered);
  ChainWord* const head = bucketFor(offered.hash);
  for (ChainWord* word = head; const ChainWord address = nextAddress(*word);
       word = linkAt(address)) {
    const bool waiting = isWaitingWord(*linkAt(address));
    StateNode* const node = storedAt(address);
    int32_t* const stored = recordOf(node);
    if (!layout_.sameKey(stored, incoming))
      continue;
    const Inclusion relation = layout_.relation(stored, incoming);
    if (includes(relation))
      return false;

    UnpackedRegion* zone = offered.state->getUnpackedRegion();
    if (relation == Inclusion::none) {
      ScratchRegion storedZone(layout_.shape().clocks, false);
      layout_.zoneOf(stored, storedZone->bounds());
      storedZone->markClosed();
      zone->convexHull(storedZone.get());
      // Every bound of the hull is a bound of one of the two records, so it
      // fits the records as they are: nothing widens (and no node moves).
      [[maybe_unused]] const bool fits = encode(incoming_.get(), offered.hash, offered.state);
      assert(fits && "a hull needs no wider records than its operands");
    }
    // The grown state keeps the stored state's trace identifier.
    const bool held = waiting && waitingAt(address) == run.reference.waiting();
    int32_t* grown = held ? incoming_.get() : stored;
    layout_.encode(grown, offered.hash, layout_.traceIdOf(stored), offered.state->getLocations(),
                   offered.state->getIntegerTable()->getValues(), zone->bounds());
    if (held) {
      // The search is expanding the stored state: it goes on reading the old
      // zone, and the grown state is queued anew in its place.
      const bool store = run.reference.getFlag();
      unlinkAfter(word);
      dropWaiting(waitingAt(address));
      pushNew(head, grown, offered, store);
      return true;
    }
    if (!waiting) // explored with a smaller zone: explore it again
      replaceByWaiting(word, head, run.store->add(node, true, offered.state));
    ++stored_;
    return true;
  }
  pushNew(head, incoming, offered, offered.store);
  return true;
}

std::string ConvexHullPWList::checkConsistency() const {
  std::string problem = ChunkPWListBase::checkConsistency();
  if (!problem.empty())
    return problem;
  // States of one discrete part have one hash, hence one bucket.
  for (ChainWord head : heads_) {
    std::vector<const int32_t*> records;
    for (ChainWord a = nextAddress(head); a; a = nextAddress(*linkAt(a))) {
      const int32_t* record = recordOf(storedAt(a));
      for (const int32_t* other : records)
        if (layout_.sameKey(record, other))
          return "two stored states share a discrete part";
      records.push_back(record);
    }
  }
  return {};
}

} // namespace orvela
