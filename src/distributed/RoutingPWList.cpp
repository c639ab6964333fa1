#include "distributed/RoutingPWList.h"

#include "base/Exceptions.h"
#include "symbolic/GlobalState.h"

#include <cstring>

namespace orvela {

StateCodec::StateCodec(const System& system)
    : processes_(system.getProcessCount()), integers_(system.tables().integerCount()),
      clocks_(system.tables().clockCount()),
      words_(2 + std::size_t(processes_ + 1) / 2 + std::size_t(integers_) +
             std::size_t(clocks_) * std::size_t(clocks_)) {}

void StateCodec::encode(const WaitingState& record, std::vector<std::int32_t>& out) const {
  const GlobalState& state = *record.state;
  out.push_back(record.store ? 1 : 0);
  out.push_back(state.getTraceId());
  const uint16_t* locations = state.getLocations();
  for (int p = 0; p < processes_; p += 2) {
    const uint32_t high = p + 1 < processes_ ? locations[p + 1] : 0;
    out.push_back(std::int32_t(uint32_t(locations[p]) | high << 16));
  }
  const int* values = state.getIntegerTable()->getValues();
  out.insert(out.end(), values, values + integers_);
  const std::int32_t* bounds = state.getUnpackedRegion()->bounds();
  out.insert(out.end(), bounds, bounds + std::size_t(clocks_) * std::size_t(clocks_));
}

GlobalState* StateCodec::decode(const std::int32_t* in, void* memory, bool& store) const {
  GlobalState* state = GlobalState::createUnpacked(processes_, integers_, clocks_, memory);
  store = in[0] != 0;
  state->setTraceId(in[1]);
  in += 2;
  for (int p = 0; p < processes_; p += 2, ++in) {
    state->setLocation(unsigned(p), int(uint32_t(*in) & 0xffff));
    if (p + 1 < processes_)
      state->setLocation(unsigned(p + 1), int(uint32_t(*in) >> 16));
  }
  std::memcpy(state->getIntegerTable()->getValues(), in, sizeof(int) * std::size_t(integers_));
  in += integers_;
  std::memcpy(state->getUnpackedRegion()->bounds(), in,
              sizeof(std::int32_t) * std::size_t(clocks_) * std::size_t(clocks_));
  return state;
}

int ownerOf(unsigned hash, int ranks) {
  const uint32_t mixed = uint32_t(hash) * 2654435761u;
  return int((uint64_t(mixed) * uint64_t(ranks)) >> 32);
}

RoutingPWList::RoutingPWList(PWList* local, int rank, int ranks, const StateCodec& codec,
                             BatchSender& sender, std::size_t batchBytes)
    : local_(local), rank_(rank), ranks_(ranks), codec_(codec), sender_(sender),
      batchWords_(batchBytes / sizeof(std::int32_t)), batches_(std::size_t(ranks)) {
  if (rank < 0 || rank >= ranks)
    throw Bug("RoutingPWList: rank %d outside 0..%d", rank, ranks - 1);
}

bool RoutingPWList::tryPut(void* item) {
  const WaitingState& record = *static_cast<WaitingState*>(item);
  const int owner = ownerOf(record.hash, ranks_);
  if (owner == rank_) {
    const bool accepted = local_->tryPut(item);
    stored_ = local_->getStored();
    return accepted;
  }
  std::vector<std::int32_t>& batch = batches_[std::size_t(owner)];
  codec_.encode(record, batch);
  if (batch.size() >= batchWords_)
    sender_.send(owner, batch);
  return false;
}

bool RoutingPWList::tryGet(void* item) {
  if (budget_ == 0 || !local_->tryGet(item))
    return false;
  --budget_;
  explored_ = local_->getExplored();
  return true;
}

void RoutingPWList::clear() {
  local_->clear();
  dropBatches();
  explored_ = stored_ = 0;
}

void RoutingPWList::flush() {
  for (std::size_t owner = 0; owner < batches_.size(); ++owner)
    if (!batches_[owner].empty())
      sender_.send(int(owner), batches_[owner]);
}

void RoutingPWList::dropBatches() {
  for (std::vector<std::int32_t>& batch : batches_)
    batch.clear();
}

} // namespace orvela
