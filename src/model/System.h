#pragma once
// The loaded network: the processes in the order of the system line, and the
// questions about whole states that successor computation, the passed list
// and trace reconstruction ask.

#include "base/Object.h"
#include "expr/EvaluationEvents.h"
#include "model/ModelTables.h"
#include "model/ModelVisitor.h"
#include "model/Process.h"

#include <iosfwd>
#include <set>
#include <vector>

namespace orvela {

class GlobalState;
class PublicState;
class SymbolTable;
class UnpackedRegion;
struct Successor;

/// A network of processes. Queries about a state read its locations and
/// integers through the state view, so any state type can be asked about.
class System : public Object, public ModelElement {
public:
  /// A system with `processCount` empty process slots.
  explicit System(int processCount);

  /// Visits every process in order, then calls `visitSystem`.
  void accept(ModelVisitor& visitor) override;

  /// Stores `process` in slot `index` and numbers its edges for that slot.
  void setProcess(int index, const Pointer<Process>& process);
  Process* getProcess(int index) const {
    return processes_.at(static_cast<std::size_t>(index)).get();
  }
  int getProcessCount() const { return static_cast<int>(processes_.size()); }

  /// Completes every process (`buildProcess` over the model's channels), in
  /// index order. May be called again; it rebuilds the same tables.
  void construct();
  /// Recomputes the active clocks of every process, then adds `extra` to the
  /// active set of every location (without propagating them).
  void propagateClocks(const std::set<int>& extra);

  /// A new heap state with every process in its initial location, every clock
  /// (the reference clock included) 0 in an unpacked zone, and the integers
  /// at their initial values. Invariants are not applied. The caller owns
  /// the state (`GlobalState::remove`, or a `Pointer<GlobalState>`).
  GlobalState* calcInitial() const;
  /// Restricts the state's zone to the invariants of the current locations,
  /// process by process; false as soon as one fails or empties the zone.
  /// Otherwise closes the zone and answers whether it is non-empty.
  bool evalInvariant(GlobalState* state) const;
  /// Turns `zone`, a zone after the move of `first` (and `second`, for a
  /// synchronisation; may be null) from `state`, into the clock valuations
  /// before the move: the edges' clock updates are undone, last first, and
  /// their clock guards applied. The zone is closed; answers true.
  bool stepBack(const GlobalState* state, const Transition* first, const Transition* second,
                UnpackedRegion* zone) const;
  /// The same for the edges of a null-terminated array.
  bool stepBack(const GlobalState* state, const Transition* const* edges,
                UnpackedRegion* zone) const;

  /// Bytes of an unpacked state of this system in one block.
  int getSizeOfUnpackedState() const;

  /// True when some process is in an urgent location.
  bool isUrgentState(const PublicState* state) const;
  /// The number of processes in a committed location.
  int committed(const PublicState* state) const;
  /// Whether process `i` and process `j` may synchronise in `state`: true for
  /// a process with itself, false without channels, otherwise whether their
  /// locations' channel summaries match.
  bool canSync(const PublicState* state, int i, int j) const;
  /// Whether an urgent synchronisation is enabled in `state` (integer guards
  /// only), so that time must not pass.
  bool hasUrgentTransitions(const PublicState* state) const;
  /// Whether the state reached by the null-terminated move `edges` may be
  /// left out of the passed list: false for a missing or empty move,
  /// otherwise true when no moving process is at a loop entry in `state`.
  bool noSave(const Transition* const* edges, const PublicState* state) const;
  /// The same for the one or two edges of a successor and its state: false
  /// when it names no edge.
  bool noSave(const Successor& successor) const;

  /// The location of process `index` in `state`.
  ControlState* currentLocation(const PublicState* state, int index) const;

  /// "( " then "process.location " per process, then ")\n".
  void displayControlState(const PublicState* state, std::ostream& out) const;
  /// A newline, the locations, the zone, " ", the integers, "\n".
  void displayGlobalState(const GlobalState* state, std::ostream& out) const;
  /// "The system has <n> processes.\n\n" and every process's display.
  void print(std::ostream& out) const;

  /// The counters of the evaluation events of this model's expressions
  /// (null for a system built without a parse).
  const std::shared_ptr<EvaluationEvents>& events() const { return events_; }
  void setEvents(std::shared_ptr<EvaluationEvents> events) { events_ = std::move(events); }

  /// The integer, clock and channel tables of this model (only the reference
  /// clock for a system built without a parse).
  const ModelTables& tables() const { return tables_; }
  /// Takes over the tables a parse (or a test) filled for this model.
  void setTables(ModelTables tables) { tables_ = std::move(tables); }

  /// The names of the description this model was read from, which properties
  /// over it resolve (null for a system built without a parse).
  const SymbolTable* symbols() const { return symbols_.get(); }
  /// Takes over the names a parse declared for this model.
  void setSymbols(std::shared_ptr<const SymbolTable> symbols) { symbols_ = std::move(symbols); }

private:
  std::vector<Pointer<Process>> processes_;
  std::shared_ptr<EvaluationEvents> events_;
  ModelTables tables_;
  std::shared_ptr<const SymbolTable> symbols_;
};

} // namespace orvela
