#pragma once
// The bit-state passed/waiting list: waiting states are stored and compared
// like in the default list, but an explored state is remembered by one bit of
// a large table only, indexed by a hash of the whole state. Two states that
// share a bit make the second look explored, so the search explores an
// under-approximation of the state space in bounded memory.

#include "pwlist/HashingPWList.h"

#include <cstdint>
#include <vector>

namespace orvela {

class BitStateHashingPWList final : public HashingPWList {
public:
  /// `buckets` chains for the waiting states and a table of `bits` bits (at
  /// least 1), all clear.
  BitStateHashingPWList(unsigned buckets, const Pointer<Store>& prototype, unsigned bits,
                        const StateShape& shape);

  /// The next waiting state whose bit is clear; waiting states whose bit is
  /// set on the way count as explored and are forgotten.
  bool tryGet(void* out) override;
  /// Explored states are not kept: an empty source.
  Pointer<PureSource> enumStates() const override;
  /// Also clears every bit.
  void clear() override;
  /// Also: the chains hold waiting states only.
  std::string checkConsistency() const override;

  /// The bit of a state with these locations, integer values (the compared
  /// ones) and closed n·n zone: the lookup2 hash of the zone chained from
  /// that of the integers, chained from that of the locations as bytes, modulo
  /// the number of bits.
  std::size_t bitIndex(const uint16_t* locations, const int32_t* integers,
                       const int32_t* zone) const;
  bool isBitSet(std::size_t index) const { return (bits_[index / 8] >> (index % 8)) & 1; }

protected:
  /// Sets the state's bit; the state leaves its chain and its node goes back.
  void keepExplored(WaitingNode* waiting) override;

private:
  std::size_t bitIndexOf(const StateNode* node) const;

  std::size_t bitCount_;
  std::vector<uint8_t> bits_;
  /// Room for one state's locations and zone while its bit is computed.
  mutable std::vector<uint16_t> locations_;
  mutable std::vector<int32_t> zone_;
};

} // namespace orvela
