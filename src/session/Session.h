#pragma once
// One verification session: the loaded model and everything derived from it,
// the search options, the stored state space, and the operations a client
// asks for. The server's protocol handlers and the command-line verifier
// both work through this class; it reads no request and writes no reply
// (only the search's progress line and diagnostics go to standard error).
//
// The model tables (clocks, integers, channels, symbols) are process-wide, so
// a process holds one loaded model at a time, whichever session loaded it.

#include "analysis/MinMaxFilter.h"
#include "checkers/ReachabilityFilter.h"
#include "checkers/Trace.h"
#include "checkers/TraceStore.h"
#include "engine/NormalisationInfo.h"
#include "engine/SearchWatch.h"
#include "engine/StopSinks.h"
#include "engine/StorageReduction.h"
#include "engine/SuccessorPair.h"
#include "formula/TCTLExpression.h"
#include "language/ParseProperty.h"
#include "model/System.h"
#include "session/Abstraction.h"
#include "session/Options.h"
#include "session/Simulator.h"
#include "symbolic/Allocator.h"
#include "symbolic/GlobalState.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <list>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace orvela {

/// A diagnostic trace: the moves to the state found, and the moves of the
/// loop that follows it (empty for reachability).
struct TracePair {
  Pointer<Trace> path;
  Pointer<Trace> loop;
};

/// What a property check answers.
struct CheckResult {
  PropertyKind kind = PropertyKind::none;
  /// 'T' satisfied, 'F' not satisfied, 'M' inconclusive under the chosen
  /// approximation, '?' undecided: a limit stopped the search (`stopReason`).
  char verdict = 'F';
  bool found = false; ///< the checker found what it searched for
  /// What was found may be reached by no run: the search ran over zones that
  /// over-approximate the reachable ones (convex hulls, for E<>, A[] and
  /// leads-to; the searches of E[] and A<> keep exact zones).
  bool overApproximated = false;
  /// The formula the search looked for (see `PropertyKind`): f for E<> f,
  /// not f for A[] f.
  Pointer<TCTLExpression> formula;
  bool hasTrace = false; ///< found, and traces are kept: `trace` tells how
  TracePair trace;
  std::uint64_t explored = 0; ///< states taken from the waiting list
  std::uint64_t stored = 0;   ///< states the passed list accepted
  std::string stopReason;     ///< why the search was stopped; empty when it ran to its end
};

class Session {
public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // ------------------------------------------------------------- loading

  /// Makes the system described by `description` the session's model and
  /// derives everything the other operations need. Whatever the outcome, the
  /// previous model, its state space and its start state are gone first, the
  /// collectors are stopped and the reuse bookkeeping starts afresh, so every
  /// load behaves like the first of a session. A description with errors
  /// leaves the session without a model and throws `ProtocolError` "Syntax
  /// errors in system."; the parser's "Error at line N : message" lines are
  /// stored in `messages` when it is not null.
  void loadSystem(std::istream& description, std::string* messages = nullptr);
  bool hasSystem() const { return bool(system_); }
  /// Throws `ProtocolError` "No system received" without a model.
  void requireSystem() const;
  const Pointer<System>& system() const { return system_; }
  /// The names of the declared integers and of every clock ("t(0)" first)
  /// of the loaded model, in index order.
  std::vector<std::string> integerNames() const;
  std::vector<std::string> clockNames() const;

  // ------------------------------------------------------------- options

  const SearchOptions& options() const { return options_; }
  /// Sets one option (see `applyOption`); an option that affects the stored
  /// state space empties it. Rejected values throw `ProtocolError` and change
  /// nothing. Call `initialize` after a batch of options.
  OptionEffect setOption(std::string_view name, char value);
  /// With a model: makes the trace store (a memory store when traces are
  /// kept, a null store otherwise; replaced when the kind no longer matches
  /// the option, the start state recorded in it) and the state space when
  /// either is missing; a new state space starts the next check afresh.
  void initialize();
  /// A new passed/waiting list as the options ask for, for the current model,
  /// stepping the session's search watch.
  PWList* createPWList();

  /// Limits on every later check (none at first). A check that passes one
  /// stops cleanly: it answers the verdict '?' with the reason and the counts
  /// so far, and the stored state space starts afresh at the next check.
  void setLimits(const SearchLimits& limits) { limits_ = limits; }
  const SearchLimits& limits() const { return limits_; }
  /// Whether reachability searches write their progress line to the standard
  /// error stream (off at first).
  void setProgress(bool show);

  // ------------------------------------------------------------ checking

  /// Checks the property read from `property` (one line of the property
  /// language). Throws `ProtocolError` "No system received", `InputError`
  /// with the parser's messages (at most 255 characters) for a property with
  /// errors, `InputError` "Unsupported property type." for a kind without a
  /// checker.
  CheckResult check(std::istream& property);
  /// Replays the result's trace from the start state through the successor
  /// computation: calls `visit` with each state reached and the edges taken
  /// to it, first with the start state itself and no edges when `withStart`
  /// holds. The path's steps come before the loop's. Nothing is visited when
  /// the result has no trace. Answers false when a step cannot be taken,
  /// which only an over-approximating representation may cause (a
  /// convex-hull search can reach a zone that no run reaches); the steps
  /// before it have been visited.
  bool replay(const CheckResult& result, const StepVisitor& visit, bool withStart = false) const;
  /// Whether `formula` holds in some valuation of `state`, as a reachability
  /// search tests the states it reaches. `state` is left as it is.
  bool satisfies(const TCTLExpression& formula, const GlobalState* state) const;

  // ---------------------------------------------------------- simulation

  /// The model's initial state after letting time pass (unless time may not
  /// pass there) and restricting it to the invariants; null when that leaves
  /// nothing.
  Pointer<GlobalState> initialState() const;
  /// Calls `deliver` with every enabled move of `state` and the successor it
  /// leads to (after delay and, with the option "normalise", normalisation).
  /// The successor is freed after the call.
  void enabledMoves(const GlobalState* state, const StepVisitor& deliver);
  /// The edges of a move, null-terminated.
  using Move = Simulator::Move;
  /// The move of `state` made of the edges of the null-terminated `requested`
  /// (in any order), in the order in which `enabledMoves` lists it, so that
  /// it leads to the successor listed there. Empty when the move is disabled
  /// by the integer guards of its own edges: it would be listed if they held.
  /// Any other set of edges (an edge that does not leave its process's
  /// current location, a synchronising edge without its partner, partners
  /// on different channels, in the same direction or in the same process,
  /// a move the committed locations forbid, a broadcast without each of its
  /// receivers) throws `ProtocolError` "State inconsistent with current
  /// system".
  Move moveOf(const GlobalState* state, const Transition* const* requested);
  /// Calls `deliver` with the successor of `state` by `move`, a move of
  /// `state` from `moveOf`, if its clock guards and the invariants leave one.
  void successors(const GlobalState* state, const Move& move, const StepVisitor& deliver);
  /// Whether a search keeps `state`, reached by `edges`, as the option
  /// "reduction" decides.
  bool isStored(const GlobalState* state, const Transition* const* edges) const;
  /// Makes `state` the model's start state: the next reachability search,
  /// the liveness checks and trace replays start from it.
  void startFrom(const Pointer<GlobalState>& state);

  // ----------------------------------------------------------- analyses

  using WatchItems = std::list<MinMaxFilter::PLV>;
  using Watches = std::list<MinMaxFilter::Watch>;
  /// Starts collecting the range of integer variables (`domain`) or clocks
  /// (response times) over the states of every later reachability check,
  /// replacing the previous collection. An item whose process, location or
  /// variable lies outside the model throws `ProtocolError` "Not a PLV
  /// tripple" and changes nothing. Requires a model.
  void startDomainCollection(const WatchItems& items);
  void startResponseTimeCollection(const WatchItems& items);
  /// What a watched item names besides its process and location.
  enum class Watched { integer, clock };
  /// Throws `ProtocolError` "Not a PLV tripple" when the item's process (-1
  /// for any), location (unless the process is -1) or watched integer or
  /// clock lies outside the model.
  void checkWatchItem(const MinMaxFilter::PLV& item, Watched watched) const;
  /// The watched items with their ranges, in reverse order of the items.
  const Watches& domainWatches() const { return domainCollector_->watches(); }
  const Watches& responseTimeWatches() const { return wcrtCollector_->watches(); }

private:
  struct DriverResult {
    bool found = false;
    TracePair trace;
    std::uint64_t explored = 0; ///< summed over the check's searches
    std::uint64_t stored = 0;
  };

  /// Drops the model and everything derived from it.
  void dropModel();
  /// The checks of reachability and invariance, of the liveness forms and of
  /// leads-to, from `start` (null: continue on the stored state space). The
  /// liveness forms always start from the start state. Each answers whether
  /// the checker found what it looks for (for leads-to: whether the property
  /// holds, no counterexample found) and the traces to the state or loop
  /// found and of the loop.
  DriverResult reachable(const Pointer<GlobalState>& start,
                         const Pointer<TCTLExpression>& property);
  DriverResult liveness(const Pointer<TCTLExpression>& property);
  DriverResult leadsto(const Pointer<GlobalState>& start, const Pointer<TCTLExpression>& premise,
                       const Pointer<TCTLExpression>& consequence);
  /// Runs `search` over the state space from `start`; if it throws, the
  /// half-explored state space is dropped for a fresh one first (a stopped
  /// search's exception gets the state space's counts before).
  void searchStateSpace(Filter& search, const Pointer<GlobalState>& start);
  /// The passed list of a liveness search: as the options ask for, but exact
  /// where the chosen representation over-approximates.
  PWList* createLivenessList();
  /// The found flag and the two traces (to the loop, the loop) of a witness
  /// sink.
  template <class Checker> DriverResult witnessOf(const TraceStopSink<Checker>& sink) const;
  /// The storage reduction the options ask for.
  StorageReduction reduction() const;
  /// Records `initial_` as a root of the trace store.
  void recordInitial();
  /// Drops a search that was cut short: the next check starts afresh.
  void abandonSearch();

  SearchOptions options_;
  SearchLimits limits_;
  /// Started at every check; every list the session creates steps it.
  SearchWatch watch_;
  bool progress_ = false;

  Pointer<System> system_;
  Pointer<GlobalState> initial_;
  Pointer<GlobalState> currentInitial_;
  Pointer<Allocator> stateAlloc_;
  Pointer<TraceStore> traceStore_;
  Pointer<ReachabilityFilter> stateSpace_;
  std::unique_ptr<Simulator> simulator_; ///< with a model
  NormalisationInfo normalisationInfo_;
  /// The kind of the last check, whose stored search the next one may
  /// continue; none when it may not.
  std::optional<PropertyKind> lastKind_;
  /// The abstraction of the last check (the one of its state space).
  Abstraction lastAbstraction_;
  std::set<int> active_;
  Pointer<MinMaxFilter> wcrtCollector_;
  Pointer<MinMaxFilter> domainCollector_;
};

} // namespace orvela
