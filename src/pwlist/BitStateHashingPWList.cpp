#include "pwlist/BitStateHashingPWList.h"

#include "dbm/Hash.h"
#include "engine/Adapters.h"

#include <algorithm>

namespace orvela {

BitStateHashingPWList::BitStateHashingPWList(unsigned buckets, const Pointer<Store>& prototype,
                                             unsigned bits, const StateShape& shape)
    : HashingPWList(buckets, prototype, shape), bitCount_(std::max(bits, 1u)),
      bits_((bitCount_ + 7) / 8, 0), locations_(shape.processes),
      zone_(std::size_t(shape.clocks) * shape.clocks) {}

std::size_t BitStateHashingPWList::bitIndex(const uint16_t* locations, const int32_t* integers,
                                            const int32_t* zone) const {
  const StateShape& shape = layout_.shape();
  uint32_t h = hash(locations, shape.processes * sizeof(uint16_t), 0);
  h = hash2(integers, shape.comparedIntegers, h);
  h = hash2(zone, std::size_t(shape.clocks) * shape.clocks, h);
  return h % bitCount_;
}

std::size_t BitStateHashingPWList::bitIndexOf(const StateNode* node) const {
  const int32_t* record = recordOf(node);
  layout_.locationsOf(record, locations_.data());
  layout_.zoneOf(record, zone_.data());
  return bitIndex(locations_.data(), layout_.integersOf(record), zone_.data());
}

bool BitStateHashingPWList::tryGet(void* out) {
  chunk_data_t& run = chunkData();
  while (!run.reference.holding()) {
    WaitingNode* front = run.store->front();
    if (!front)
      return false;
    StateNode* node = front->stateNode();
    if (!isBitSet(bitIndexOf(node))) {
      stepWatch();
      run.reference.hold(front);
      ++explored_;
      break;
    }
    unlinkWaiting(front);
    freeNode(node);
  }
  *static_cast<GlobalStateReference**>(out) = &run.reference;
  return true;
}

void BitStateHashingPWList::keepExplored(WaitingNode* waiting) {
  StateNode* node = waiting->stateNode();
  const std::size_t index = bitIndexOf(node);
  bits_[index / 8] = uint8_t(bits_[index / 8] | (1u << (index % 8)));
  unlinkWaiting(waiting);
  freeNode(node);
}

Pointer<PureSource> BitStateHashingPWList::enumStates() const { return createNullSource(); }

void BitStateHashingPWList::clear() {
  HashingPWList::clear();
  std::fill(bits_.begin(), bits_.end(), 0);
}

std::string BitStateHashingPWList::checkConsistency() const {
  std::string problem = HashingPWList::checkConsistency();
  if (!problem.empty())
    return problem;
  for (ChainWord head : heads_)
    for (ChainWord a = nextAddress(head); a; a = nextAddress(*linkAt(a)))
      if (!isWaitingWord(*linkAt(a)))
        return "an explored state stayed in a chain";
  return {};
}

} // namespace orvela
