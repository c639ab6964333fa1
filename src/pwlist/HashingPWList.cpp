#include "pwlist/HashingPWList.h"

#include "dbm/Extrapolation.h"
#include "symbolic/GlobalState.h"

#include <cstring>
#include <string>

namespace orvela {

// ------------------------------------------------------------- reference

void ChunkGSR::hold(WaitingNode* waiting) {
  assert(!holding() && !waiting->freed() && "holding one entry at a time");
  waiting_ = waiting;
  node_ = waiting->stateNode();
  flag_ = waiting->storeFlag();
}

void ChunkGSR::detach() {
  assert(waiting_ && "detached twice");
  waiting_->state = 0;
  waiting_ = nullptr;
}

void ChunkGSR::writeDiscreteTo(GlobalState* target) {
  assert(holding() && "reference used after release");
  list_.writeDiscrete(node_, target);
}

void ChunkGSR::writeSymbolicTo(GlobalState* target) {
  assert(holding() && "reference used after release");
  list_.writeSymbolic(node_, target);
}

void ChunkGSR::release(bool drop) {
  assert(holding() && "release without a held entry");
  if (!waiting_) {
    list_.freeNode(node_); // covered by a newer state while held
  } else if (drop) {
    unlinkWaiting(waiting_);
    list_.freeNode(node_);
  } else {
    list_.keepExplored(waiting_);
  }
  waiting_ = nullptr;
  node_ = nullptr;
}

// ------------------------------------------------------- chunk-based list

namespace {

/// The link word and the record, rounded up to 8 bytes.
std::size_t nodeBytesFor(const StoredStateLayout& layout) {
  const std::size_t bytes = sizeof(StateNode) + layout.recordWords() * sizeof(int32_t);
  return (bytes + 7) / 8 * 8;
}

} // namespace

ChunkPWListBase::ChunkPWListBase(unsigned buckets, const Pointer<Store>& prototype,
                                 const StateShape& shape, bool narrowRecords)
    : PWListBase(buckets, prototype), layout_(shape, narrowRecords), narrowRecords_(narrowRecords),
      nodeBytes_(nodeBytesFor(layout_)),
      incoming_(new int32_t[StoredStateLayout(shape, false).recordWords()]) {}

void ChunkPWListBase::clear() {
  PWListBase::clear();
  layout_ = StoredStateLayout(layout_.shape(), narrowRecords_);
  nodeBytes_ = nodeBytesFor(layout_);
}

void ChunkPWListBase::widen() {
  const StoredStateLayout wide(layout_.shape(), false);
  const std::size_t wideBytes = nodeBytesFor(wide);
  chunk_data_t& run = chunkData();
  Pointer<Allocator> wideNodes = createChunkAllocator(int(wideBytes));
  auto moved = [&](const StateNode* old) {
    auto* node = static_cast<StateNode*>(wideNodes->allocate());
    node->link = 0;
    layout_.widen(recordOf(old), recordOf(node), wide);
    return node;
  };
  for (ChainWord& head : heads_) {
    ChainWord* word = &head;
    while (const ChainWord address = nextAddress(*word)) {
      ChainWord* const link = linkAt(address);
      if (isWaitingWord(*link)) {
        WaitingNode* waiting = waitingAt(address);
        waiting->state = addressOf(moved(waiting->stateNode())) | (waiting->state & 1);
        word = link;
      } else {
        StateNode* node = moved(stateAt(address));
        node->link = *link;
        *word = redirected(*word, addressOf(node));
        adoptSuccessor(&node->link, nextAddress(node->link));
        word = &node->link;
      }
    }
  }
  ChunkGSR& held = run.reference;
  if (held.holding())
    held.node_ = held.waiting_ ? held.waiting_->stateNode() : moved(held.node_);
  run.allocator = wideNodes; // the narrow nodes go with the old allocator
  layout_ = wide;
  nodeBytes_ = wideBytes;
}

std::unique_ptr<PWListBase::data_t> ChunkPWListBase::createData() {
  auto run = std::make_unique<chunk_data_t>(*this);
  run->store = prototype_->clone();
  run->allocator = createChunkAllocator(int(nodeBytes_));
  return run;
}

bool ChunkPWListBase::tryGet(void* out) {
  chunk_data_t& run = chunkData();
  if (!run.reference.holding()) {
    WaitingNode* front = run.store->front();
    if (!front)
      return false;
    stepWatch();
    run.reference.hold(front);
    ++explored_;
  }
  *static_cast<GlobalStateReference**>(out) = &run.reference;
  return true;
}

std::size_t ChunkPWListBase::nodesInUse() const {
  const data_t* run = existingData();
  return run ? static_cast<const chunk_data_t*>(run)->allocator->blocksOut() : 0;
}

bool ChunkPWListBase::encode(int32_t* record, unsigned hash, const GlobalState* state) const {
  [[maybe_unused]] const StateShape& shape = layout_.shape();
  const UnpackedRegion* zone = state->getUnpackedRegion();
  assert(unsigned(state->getProcessCount()) == shape.processes &&
         unsigned(state->getIntegerTable()->getCount()) == shape.integers &&
         zone->getDim() == shape.clocks && "state of another shape than the list's");
  assert(zone->isClosed() && !zone->isEmpty() && "stored zones are closed and not empty");
  return layout_.encode(record, hash, state->getTraceId(), state->getLocations(),
                        state->getIntegerTable()->getValues(), zone->bounds());
}

const int32_t* ChunkPWListBase::encodeOffered(const WaitingState& offered) {
  int32_t* incoming = incoming_.get();
  if (!encode(incoming, offered.hash, offered.state)) {
    widen();
    encode(incoming, offered.hash, offered.state);
  }
  return incoming;
}

void ChunkPWListBase::writeDiscrete(const StateNode* node, GlobalState* target) const {
  const int32_t* record = recordOf(node);
  const StateShape& shape = layout_.shape();
  IntegerTable* table = target->getIntegerTable();
  assert(unsigned(target->getProcessCount()) == shape.processes && table &&
         unsigned(table->getCount()) >= shape.integers && "target of another shape");
  layout_.locationsOf(record, target->getLocations());
  std::memcpy(table->getValues(), layout_.integersOf(record), shape.integers * sizeof(int32_t));
  target->setTraceId(layout_.traceIdOf(record));
}

void ChunkPWListBase::writeSymbolic(const StateNode* node, GlobalState* target) const {
  UnpackedRegion* zone = target->getUnpackedRegion();
  assert(zone->getDim() == layout_.shape().clocks && "target of another dimension");
  layout_.zoneOf(recordOf(node), zone->bounds());
  zone->markClosed();
}

std::string ChunkPWListBase::checkNode(const StateNode* node, std::size_t bucket) const {
  if (layout_.hashOf(recordOf(node)) % bucketCount() != bucket)
    return "stored hash belongs to another bucket";
  return {};
}

std::string ChunkPWListBase::checkConsistency() const {
  std::string problem = PWListBase::checkConsistency();
  if (!problem.empty() || !existingData())
    return problem;
  std::size_t stored = 0;
  for (ChainWord head : heads_)
    for (ChainWord a = nextAddress(head); a; a = nextAddress(*linkAt(a)))
      ++stored;
  const ChunkGSR& reference = static_cast<const chunk_data_t*>(existingData())->reference;
  if (reference.holding() && !reference.waiting())
    ++stored; // a held state that a newer one covered
  if (stored != nodesInUse())
    return std::to_string(nodesInUse()) + " nodes allocated for " + std::to_string(stored) +
           " stored states";
  return {};
}

// --------------------------------------------------------- default list

HashingPWList::HashingPWList(unsigned buckets, const Pointer<Store>& prototype,
                             const StateShape& shape)
    : ChunkPWListBase(buckets, prototype, shape) {}

bool HashingPWList::tryPut(void* item) {
  const WaitingState& offered = *static_cast<const WaitingState*>(item);
  const int32_t* incoming = encodeOffered(offered);
  if (simulation_)
    return putSimulated(offered, incoming);
  return putCovering(
      offered, incoming,
      [this, incoming](const StateNode* node) {
        return layout_.relation(recordOf(node), incoming);
      },
      [this](StateNode* node) { freeNode(node); });
}

void HashingPWList::setSimulation(const Pointer<ClockBounds>& bounds) {
  simulation_ = bounds;
  const unsigned n = layout_.shape().clocks;
  lower_.resize(n);
  upper_.resize(n);
  stored_.resize(std::size_t(n) * n);
}

bool HashingPWList::putSimulated(const WaitingState& offered, const int32_t* incoming) {
  const unsigned n = layout_.shape().clocks;
  simulation_->boundsOf(offered.state->getLocations(), lower_.data(), upper_.data());
  const int32_t* lower = lower_.data();
  const int32_t* upper = upper_.data();
  const int32_t* zone = offered.state->getUnpackedRegion()->bounds();
  const auto simulation = [&](const StateNode* node) {
    const int32_t* record = recordOf(node);
    if (!layout_.sameKey(record, incoming))
      return Inclusion::none;
    layout_.zoneOf(record, stored_.data());
    if (includedInALU(zone, stored_.data(), n, lower, upper))
      return Inclusion::superset;
    if (includedInALU(stored_.data(), zone, n, lower, upper))
      return Inclusion::subset;
    return Inclusion::none;
  };
  return putCovering(offered, incoming, simulation, simulation,
                     [this](StateNode* node) { freeNode(node); });
}

void ChunkPWListBase::pushNew(ChainWord* head, const int32_t* record, const WaitingState& offered,
                              bool store) {
  chunk_data_t& run = chunkData();
  StateNode* node = static_cast<StateNode*>(run.allocator->allocate());
  node->link = 0;
  std::memcpy(recordOf(node), record, layout_.recordWords() * sizeof(int32_t));
  pushWaiting(head, run.store->add(node, store, offered.state));
  ++stored_;
}

void ChunkPWListBase::dropWaiting(WaitingNode* waiting) {
  chunk_data_t& run = chunkData();
  if (waiting == run.reference.waiting()) {
    run.reference.detach(); // still being read: its node goes at release
    return;
  }
  StateNode* node = waiting->stateNode();
  waiting->state = 0;
  run.allocator->deallocate(node);
}

} // namespace orvela
