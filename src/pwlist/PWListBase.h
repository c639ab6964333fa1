#pragma once
// The machinery shared by the hashed passed/waiting lists: the bucket table
// of tagged chains (see ChainLinks.h), the prototype of the waiting store, the
// run data created on first use, and the enumeration of the stored states.

#include "pwlist/ChainLinks.h"
#include "pwlist/PWList.h"
#include "pwlist/WaitingStores.h"

#include <memory>
#include <string>
#include <vector>

namespace orvela {

/// A list with a fixed number of bucket chains. Subclasses decide what a
/// state node holds and how a new state is compared with the stored ones.
class PWListBase : public PWList {
public:
  using Store = WaitingStore;

  /// The count of the run's waiting store, 0 before the first use.
  std::size_t getSize() const override;
  Pointer<PureSource> enumStates() const override;
  void clear() override;

  /// Checks the chains against the waiting store (see `checkChains`) and the
  /// subclass's own rules; answers an empty string or the first violation.
  virtual std::string checkConsistency() const;

  std::size_t bucketCount() const { return heads_.size(); }

protected:
  /// What one run of the list owns: the waiting store and, in subclasses,
  /// the memory of the state nodes. Discarded by `clear`.
  struct data_t {
    virtual ~data_t() = default;
    Pointer<Store> store;
  };

  /// `buckets` chains (at least 1) and a prototype store whose `clone` serves
  /// every run.
  PWListBase(unsigned buckets, const Pointer<Store>& prototype);

  /// New run data with a clone of the prototype store.
  virtual std::unique_ptr<data_t> createData() = 0;
  /// The run data, created on first use.
  data_t& data() {
    if (!data_)
      data_ = createData();
    return *data_;
  }
  /// The run data, or null before the first use.
  data_t* existingData() const { return data_.get(); }

  /// Copies the discrete part of a stored state into `target`.
  virtual void writeDiscrete(const StateNode* node, GlobalState* target) const = 0;
  /// Writes the zone of a stored state, closed, into target's unpacked region.
  virtual void writeSymbolic(const StateNode* node, GlobalState* target) const = 0;
  /// The same for the state that the chain node at `address` stands for
  /// (waiting or passed), for lists whose passed states are stored in
  /// another form than their waiting ones.
  virtual void writeSymbolicAt(ChainWord address, GlobalState* target) const {
    writeSymbolic(storedAt(address), target);
  }
  /// A rule for every stored state and its bucket, for `checkConsistency`.
  virtual std::string checkNode(const StateNode*, std::size_t) const { return {}; }

  ChainWord* bucketFor(unsigned hash) { return &heads_[hash % heads_.size()]; }

  std::vector<ChainWord> heads_;
  Pointer<Store> prototype_;

private:
  class Enum;
  class EnumGSR;

  std::unique_ptr<data_t> data_;
};

} // namespace orvela
