#pragma once
// The constraint-reduced passed/waiting list: a waiting state keeps its full
// record (its zone is about to be expanded), an explored state that the
// search keeps is stored with the minimal constraints of its zone only, as a
// packed region. A new state is compared with a packed state by the packed
// region's inclusion test, which answers "includes" without unpacking.
//
// Passed node layout: the link word, the discrete part of the record (hash,
// trace identifier, locations, integers; see StoredState.h) padded to 8
// bytes, then the `PackedRegion` block. Passed nodes differ in size with the
// number of kept constraints; they come from one chunk allocator per size.

#include "pwlist/HashingPWList.h"
#include "symbolic/PackData.h"

#include <map>
#include <memory>

namespace orvela {

class PackedRegion;

class PackedPWList final : public ChunkPWListBase {
public:
  PackedPWList(unsigned buckets, const Pointer<Store>& prototype, const StateShape& shape);

  /// `item` is a `WaitingState*`: the covering walk of the default list, in
  /// which passed states answer through their packed regions.
  bool tryPut(void* item) override;
  /// The chain rules, one record block per waiting state (and per held state
  /// that left its chain) and one packed block per passed state.
  std::string checkConsistency() const override;

  /// Packed blocks in use (0 before the first run).
  std::size_t packedInUse() const;
  /// The record nodes of the waiting states and the packed nodes, each of its
  /// own size, of the passed ones.
  std::size_t storedBytes() const override;

protected:
  std::unique_ptr<data_t> createData() override;
  /// The explored state is packed into a passed node, which takes the waiting
  /// node's place; its record node goes back.
  void keepExplored(WaitingNode* waiting) override;
  void writeSymbolicAt(ChainWord address, GlobalState* target) const override;

private:
  struct packed_data_t : chunk_data_t {
    using chunk_data_t::chunk_data_t;
    /// Allocators of passed nodes, by node size in bytes.
    std::map<std::size_t, Pointer<Allocator>> packedNodes;
  };

  const PackedRegion* packedOf(const StateNode* node) const;
  /// Bytes of the passed node `node`.
  std::size_t passedBytes(const StateNode* node) const;
  Allocator& passedAllocator(std::size_t bytes);
  void freePassed(StateNode* node);

  /// Bytes from the start of a passed node to its packed region.
  std::size_t packedOffset_;
  /// Room for the minimal constraints of the zone being packed.
  std::unique_ptr<PackData> packing_;
};

} // namespace orvela
