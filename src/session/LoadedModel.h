#pragma once
// A model loaded from its description, and what every operation on it needs:
// the parsed system (which owns the model's tables), the allocator of its
// states, the constants its zones are normalised with, its start state and
// the clocks made active for the last check.

#include "engine/NormalisationInfo.h"
#include "language/ErrorReporting.h"
#include "model/System.h"
#include "symbolic/Allocator.h"
#include "symbolic/GlobalState.h"

#include <iosfwd>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace orvela {

class LoadedModel {
public:
  /// Parses the system described by `description`. A description with
  /// errors throws `ProtocolError` "Syntax errors in system."; the parser's
  /// messages are stored in `messages` when it is not null.
  LoadedModel(std::istream& description, std::vector<ParseMessage>* messages);
  LoadedModel(const LoadedModel&) = delete;
  LoadedModel& operator=(const LoadedModel&) = delete;

  /// The same model read again with one more clock, last in the clock
  /// table, that nothing in the model names: the clock of a fastest-trace
  /// search (`hiddenClock`). Its processes and edges are numbered as this
  /// model's, so a move of one names the same edges in the other.
  std::unique_ptr<LoadedModel> withHiddenClock() const;
  /// The index of the clock `withHiddenClock` added; -1 for a model read as
  /// it was written.
  int hiddenClock() const { return hiddenClock_; }
  const Pointer<System>& system() const { return system_; }
  const Pointer<Allocator>& allocator() const { return allocator_; }
  /// The constants of the model alone, for normalising its zones.
  const NormalisationInfo& constants() const { return constants_; }

  /// Where searches and trace replays start: the initial state until
  /// `setStart` names another.
  const Pointer<GlobalState>& start() const { return start_; }
  void setStart(const Pointer<GlobalState>& state) { start_ = state; }

  /// The clocks the system was last made to keep (see
  /// `System::propagateClocks`); none at first.
  const std::set<int>& activeClocks() const { return active_; }
  /// Makes the system keep `clocks` and the clocks they depend on.
  void activateClocks(const std::set<int>& clocks);

  /// The names of the declared integers and of every clock ("t(0)" first),
  /// in index order.
  std::vector<std::string> integerNames() const;
  std::vector<std::string> clockNames() const;

private:
  /// Reads `description` and, with `hidden`, appends the hidden clock.
  LoadedModel(const std::string& description, std::vector<ParseMessage>* messages, bool hidden);

  /// The description as it was read, for `withHiddenClock`.
  std::string description_;
  int hiddenClock_ = -1;
  Pointer<System> system_;
  Pointer<Allocator> allocator_;
  NormalisationInfo constants_;
  Pointer<GlobalState> start_;
  std::set<int> active_;
};

} // namespace orvela
