#include "model/SyncObject.h"

#include <algorithm>
#include <cassert>

namespace orvela {

SyncObject::SyncObject(int channels)
    : inputs_(static_cast<std::size_t>((channels + 31) / 32), 0),
      outputs_(static_cast<std::size_t>((channels + 31) / 32), 0) {}

void SyncObject::set(std::vector<uint32_t>& bits, int channel, bool value) {
  assert(channel >= 0 && static_cast<std::size_t>(channel / 32) < bits.size() &&
         "channel outside the set");
  const uint32_t mask = uint32_t{1} << (channel % 32);
  uint32_t& word = bits[static_cast<std::size_t>(channel / 32)];
  word = value ? word | mask : word & ~mask;
}

bool SyncObject::test(const std::vector<uint32_t>& bits, int channel) {
  if (channel < 0 || static_cast<std::size_t>(channel / 32) >= bits.size())
    return false;
  return (bits[static_cast<std::size_t>(channel / 32)] >> (channel % 32) & 1) != 0;
}

bool SyncObject::canSyncWith(const SyncObject& other) const {
  const std::size_t words = std::min(inputs_.size(), other.inputs_.size());
  for (std::size_t k = 0; k < words; ++k)
    if ((inputs_[k] & other.outputs_[k]) != 0 || (outputs_[k] & other.inputs_[k]) != 0)
      return true;
  return false;
}

} // namespace orvela
