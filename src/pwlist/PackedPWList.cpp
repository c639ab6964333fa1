#include "pwlist/PackedPWList.h"

#include "symbolic/GlobalState.h"
#include "symbolic/PackedRegion.h"
#include "symbolic/ScratchRegion.h"

#include <cstring>

namespace orvela {

PackedPWList::PackedPWList(unsigned buckets, const Pointer<Store>& prototype,
                           const StateShape& shape)
    // Wide records only: widening moves every node of the chains as a record,
    // and passed nodes are not records.
    : ChunkPWListBase(buckets, prototype, shape, false),
      packedOffset_(sizeof(StateNode) + (layout_.discreteWords() * sizeof(int32_t) + 7) / 8 * 8),
      packing_(std::make_unique<PackData>()) {}

std::unique_ptr<PWListBase::data_t> PackedPWList::createData() {
  auto run = std::make_unique<packed_data_t>(*this);
  run->store = prototype_->clone();
  run->allocator = createChunkAllocator(int(nodeBytes_));
  return run;
}

const PackedRegion* PackedPWList::packedOf(const StateNode* node) const {
  return reinterpret_cast<const PackedRegion*>(reinterpret_cast<const char*>(node) + packedOffset_);
}

std::size_t PackedPWList::passedBytes(const StateNode* node) const {
  return packedOffset_ + packedOf(node)->bytes();
}

Allocator& PackedPWList::passedAllocator(std::size_t bytes) {
  Pointer<Allocator>& allocator = static_cast<packed_data_t&>(data()).packedNodes[bytes];
  if (!allocator)
    allocator = createChunkAllocator(int(bytes));
  return *allocator;
}

void PackedPWList::freePassed(StateNode* node) {
  const std::size_t bytes = passedBytes(node);
  passedAllocator(bytes).deallocate(node);
}

bool PackedPWList::tryPut(void* item) {
  const WaitingState& offered = *static_cast<const WaitingState*>(item);
  const int32_t* incoming = encodeOffered(offered);
  const UnpackedRegion* zone = offered.state->getUnpackedRegion();
  return putCovering(
      offered, incoming,
      [this, incoming, zone](const StateNode* node) {
        return layout_.sameKey(recordOf(node), incoming) ? packedOf(node)->relation(zone)
                                                         : Inclusion::none;
      },
      [this](StateNode* node) { freePassed(node); });
}

void PackedPWList::keepExplored(WaitingNode* waiting) {
  StateNode* record = waiting->stateNode();
  ScratchRegion zone(layout_.shape().clocks, false);
  layout_.zoneOf(recordOf(record), zone->bounds());
  zone->markClosed();
  zone->pack(packing_.get());

  auto* node = static_cast<StateNode*>(
      passedAllocator(packedOffset_ + PackedRegion::sizeOf(packing_.get())).allocate());
  node->link = 0;
  std::memcpy(node->payload(), recordOf(record), layout_.discreteWords() * sizeof(int32_t));
  PackedRegion::create(packing_.get(), reinterpret_cast<char*>(node) + packedOffset_);
  waiting->state = addressOf(node) | (waiting->state & 1);
  replaceByState(waiting);
  freeNode(record);
}

void PackedPWList::writeSymbolicAt(ChainWord address, GlobalState* target) const {
  if (isWaitingWord(*linkAt(address)))
    writeSymbolic(waitingAt(address)->stateNode(), target);
  else
    packedOf(stateAt(address))->unpackTo(target->getUnpackedRegion());
}

std::size_t PackedPWList::packedInUse() const {
  const data_t* run = existingData();
  std::size_t blocks = 0;
  if (run)
    for (const auto& sized : static_cast<const packed_data_t*>(run)->packedNodes)
      blocks += sized.second->blocksOut();
  return blocks;
}

std::size_t PackedPWList::storedBytes() const {
  std::size_t bytes = ChunkPWListBase::storedBytes();
  if (const data_t* run = existingData())
    for (const auto& [size, allocator] : static_cast<const packed_data_t*>(run)->packedNodes)
      bytes += size * allocator->blocksOut();
  return bytes;
}

std::string PackedPWList::checkConsistency() const {
  // The chunk lists' node count does not hold here: passed states live in
  // packed nodes, so this list counts both kinds itself.
  std::string problem = PWListBase::checkConsistency(); // NOLINT(bugprone-parent-virtual-call)
  if (!problem.empty() || !existingData())
    return problem;
  std::size_t records = 0, passed = 0;
  for (ChainWord head : heads_)
    for (ChainWord a = nextAddress(head); a; a = nextAddress(*linkAt(a)))
      ++(isWaitingWord(*linkAt(a)) ? records : passed);
  const ChunkGSR& reference = static_cast<const chunk_data_t*>(existingData())->reference;
  if (reference.holding() && !reference.waiting())
    ++records; // a held state that a newer one covered
  if (records != nodesInUse())
    return std::to_string(nodesInUse()) + " record nodes allocated for " + std::to_string(records) +
           " waiting states";
  if (passed != packedInUse())
    return std::to_string(packedInUse()) + " packed nodes allocated for " + std::to_string(passed) +
           " passed states";
  return {};
}

} // namespace orvela
