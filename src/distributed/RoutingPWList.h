#pragma once
// The passed/waiting list of one process of a distributed search. Every
// discrete part (locations and integers) belongs to one process, chosen by its
// hash; a process keeps the states it owns in a list of its own and sends the
// others, in batches, to their owners, which put them into their lists.

#include "model/System.h"
#include "pwlist/PWList.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace orvela {

/// The fixed-size record of 32-bit words a state travels in: the store flag,
/// the trace identifier, the locations (two per word), the integer values
/// and the bounds of the unpacked, closed zone.
class StateCodec {
public:
  /// The records of the states of `system`.
  explicit StateCodec(const System& system);
  /// Words of one record.
  std::size_t words() const { return words_; }
  /// Appends the record of `record.state` (unpacked and closed) to `out`.
  void encode(const WaitingState& record, std::vector<std::int32_t>& out) const;
  /// Builds the state of the record at `in` in `memory` (at least
  /// `System::getSizeOfUnpackedState()` bytes, 8-byte aligned), its zone
  /// closed; sets `store` to the record's flag.
  GlobalState* decode(const std::int32_t* in, void* memory, bool& store) const;

private:
  int processes_;
  int integers_;
  int clocks_;
  std::size_t words_;
};

/// Where a routing list hands the batch of records for another process.
class BatchSender {
public:
  virtual ~BatchSender() = default;
  /// Takes the records in `batch` (the sender may swap them out) for `rank`.
  virtual void send(int rank, std::vector<std::int32_t>& batch) = 0;
};

/// The process (0..ranks-1) that owns the states whose discrete hash is
/// `hash`. The hash is mixed first so that the owner and the bucket of the
/// owner's list (hash modulo buckets) depend on different bits.
int ownerOf(unsigned hash, int ranks);

/// `tryPut(WaitingState*)`: a state this process owns goes into the local
/// list, which answers; any other is encoded into the batch of its owner and
/// refused, so that the pipeline frees it (its owner offers it to its own
/// list and query). A batch goes to the sender once it holds `batchBytes`.
/// `tryGet` takes from the local list, at most `budget` states between two
/// `setBudget` calls, so that the search loop returns to the caller, which
/// then reads what other processes sent. The counts are the local list's.
class RoutingPWList final : public PWList {
public:
  /// Takes ownership of `local`; `codec` and `sender` must outlive the list.
  RoutingPWList(PWList* local, int rank, int ranks, const StateCodec& codec, BatchSender& sender,
                std::size_t batchBytes = 65536);

  bool tryPut(void* item) override;
  bool tryGet(void* item) override;
  /// The waiting states of the local list.
  std::size_t getSize() const override { return local_->getSize(); }
  Pointer<PureSource> enumStates() const override { return local_->enumStates(); }
  /// Clears the local list and every batch not sent.
  void clear() override;
  std::size_t storedBytes() const override { return local_->storedBytes(); }
  void setSimulation(const Pointer<ClockBounds>& bounds) override { local_->setSimulation(bounds); }
  void setKeepCoveredWaiting(bool keep) override { local_->setKeepCoveredWaiting(keep); }

  /// Lets `tryGet` hand out `takes` more states.
  void setBudget(unsigned takes) { budget_ = takes; }
  /// Hands every non-empty batch to the sender.
  void flush();
  /// Forgets the batches not sent (after the search was stopped).
  void dropBatches();

private:
  Pointer<PWList> local_;
  int rank_;
  int ranks_;
  const StateCodec& codec_;
  BatchSender& sender_;
  std::size_t batchWords_;
  std::vector<std::vector<std::int32_t>> batches_;
  unsigned budget_ = 0;
};

} // namespace orvela
