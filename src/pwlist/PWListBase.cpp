#include "pwlist/PWListBase.h"

#include "pwlist/ChainCheck.h"
#include "symbolic/GlobalStateReference.h"

#include <algorithm>
#include <cassert>

namespace orvela {

/// A reference to one stored state during an enumeration.
class PWListBase::EnumGSR final : public GlobalStateReference {
public:
  explicit EnumGSR(const PWListBase& list) : list_(list) {}
  void writeDiscreteTo(GlobalState* target) override {
    list_.writeDiscrete(storedAt(address_), target);
  }
  void writeSymbolicTo(GlobalState* target) override { list_.writeSymbolicAt(address_, target); }
  bool getFlag() override { return true; }
  void release(bool) override {}
  /// Lives inside its enumeration, never on its own.
  void remove() override {}

  /// Names the chain node at `address`.
  void point(ChainWord address) { address_ = address; }

private:
  const PWListBase& list_;
  ChainWord address_ = 0;
};

/// Every stored state, bucket by bucket from bucket 0 and in chain order.
class PWListBase::Enum final : public PureSource {
public:
  explicit Enum(const PWListBase& list) : list_(list), reference_(list) {}

  bool tryGet(void* out) override {
    while (!next_) {
      if (bucket_ == list_.heads_.size())
        return false;
      next_ = nextAddress(list_.heads_[bucket_++]);
    }
    reference_.point(next_);
    next_ = nextAddress(*linkAt(next_));
    *static_cast<GlobalStateReference**>(out) = &reference_;
    return true;
  }

private:
  const PWListBase& list_;
  EnumGSR reference_;
  std::size_t bucket_ = 0;
  ChainWord next_ = 0; ///< the next node of the current chain
};

PWListBase::PWListBase(unsigned buckets, const Pointer<Store>& prototype)
    : heads_(std::max(buckets, 1u), 0), prototype_(prototype) {
  assert(prototype && "a list needs a waiting store");
}

std::size_t PWListBase::getSize() const { return data_ ? data_->store->getCount() : 0; }

Pointer<PureSource> PWListBase::enumStates() const { return new Enum(*this); }

void PWListBase::clear() {
  data_.reset();
  std::fill(heads_.begin(), heads_.end(), 0);
  explored_ = 0;
  stored_ = 0;
}

std::string PWListBase::checkConsistency() const {
  if (!data_) {
    for (ChainWord head : heads_)
      if (head)
        return "a chain holds nodes before the first run";
    return {};
  }
  return checkChains(
      heads_.data(), heads_.size(), *data_->store,
      [this](const StateNode* node, std::size_t bucket) { return checkNode(node, bucket); });
}

} // namespace orvela
