#pragma once
// The property checks of one loaded model: the drivers of reachability,
// liveness and leads-to, the stored state space a later check may continue,
// the trace store and the replay of the traces it yields.

#include "checkers/ReachabilityFilter.h"
#include "checkers/Trace.h"
#include "checkers/TraceStore.h"
#include "engine/CostClock.h"
#include "engine/NormalisationInfo.h"
#include "engine/SearchWatch.h"
#include "engine/StopSinks.h"
#include "formula/TCTLExpression.h"
#include "language/ParseProperty.h"
#include "session/Abstraction.h"
#include "session/LoadedModel.h"
#include "session/Options.h"
#include "session/Simulator.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <list>
#include <memory>
#include <optional>
#include <string>

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
  /// Under the fastest trace kind, for a property whose search found what
  /// it looked for: the least total delay in which it can be reached (the
  /// trace, when kept, is one that takes it).
  std::optional<ElapsedTime> time;
};

/// A state an exploration stored: the state, the trace entry of the stored
/// state it was reached from (-1 for the start state, and when traces are
/// not kept) and the edges of that move (empty then).
using ExploreVisitor =
    std::function<void(const GlobalState& state, int parent, const Transition* const* move)>;

class PropertyChecker {
public:
  /// Checks properties of `model` under `options`, both of which must
  /// outlive the checker and may change between checks; with `progress`,
  /// reachability searches write their progress line to standard error.
  /// Makes the trace store and the state space (see `initialize`).
  PropertyChecker(LoadedModel& model, const SearchOptions& options, bool progress);
  PropertyChecker(const PropertyChecker&) = delete;
  PropertyChecker& operator=(const PropertyChecker&) = delete;

  /// Makes the trace store (a memory store when traces are kept, a null
  /// store otherwise; replaced when the kind no longer matches the option,
  /// the start state recorded in it) and the state space when either is
  /// missing; a new state space starts the next check afresh.
  void initialize();
  /// Drops the stored state space, for an option that changes how states
  /// are stored; `initialize` makes the next.
  void dropStateSpace() { stateSpace_ = nullptr; }
  /// Whether reachability searches write their progress line.
  void setProgress(bool show);

  /// Checks the property read from `property` (one line of the property
  /// language) under `limits`, running the `collectors` over every state a
  /// reachability search stores; `clocksWatched` says that one of them
  /// collects clock ranges, which only the maximal constants of the whole
  /// model keep exact (see `chooseAbstraction`). Throws `InputError` with the parser's
  /// messages (at most 255 characters) for a property with errors,
  /// `InputError` "Unsupported property type." for a kind without a checker,
  /// and under the fastest trace kind `InputError` for a property other than
  /// E<> or A[] and for an approximating representation.
  /// A search that passes a limit answers '?' with the reason and the counts
  /// so far, and the next check starts afresh.
  CheckResult check(std::istream& property, const SearchLimits& limits,
                    const std::list<Filter*>& collectors, bool clocksWatched);
  /// Explores every state reachable from the start state, as a check of
  /// E<> false does, under `limits`, calling `visit` with each state the
  /// passed list stores. Answers that check's result (its counts).
  CheckResult explore(const SearchLimits& limits, const ExploreVisitor& visit);
  /// Replays the result's trace from the start state through the successor
  /// computation: calls `visit` with each state reached and the edges taken
  /// to it, first with the start state itself and no edges when `withStart`
  /// holds. The path's steps come before the loop's. Nothing is visited when
  /// the result has no trace. Answers false when a step cannot be taken,
  /// which only an over-approximating representation may cause (a
  /// convex-hull search can reach a zone that no run reaches); the steps
  /// before it have been visited.
  bool replay(const CheckResult& result, const StepVisitor& visit, bool withStart) const;
  /// Whether `formula` holds in some valuation of `state`, as a reachability
  /// search tests the states it reaches. `state` is left as it is.
  bool satisfies(const TCTLExpression& formula, const GlobalState* state) const;
  /// Makes `state` the start state: the next reachability search, the
  /// liveness checks and trace replays start from it.
  void startFrom(const Pointer<GlobalState>& state);

private:
  struct DriverResult {
    bool found = false;
    TracePair trace;
    std::uint64_t explored = 0; ///< summed over the check's searches
    std::uint64_t stored = 0;
  };

  /// Resets the reuse bookkeeping for the constants and active clocks the
  /// parsed property needs.
  void prepareFor(const ParsedProperty& parsed, bool clocksWatched);
  /// The checks of reachability and invariance, of the liveness forms and of
  /// leads-to, from `start` (null: continue on the stored state space). The
  /// liveness forms always start from the start state. Each answers whether
  /// the checker found what it looks for (for leads-to: whether the property
  /// holds, no counterexample found) and the traces to the state or loop
  /// found and of the loop.
  DriverResult reachable(const Pointer<GlobalState>& start, const Pointer<TCTLExpression>& property,
                         const std::list<Filter*>& collectors);
  DriverResult liveness(const Pointer<TCTLExpression>& property);
  /// Whether an E<> or A[] check with `collectors` is explored by several
  /// threads: when the options ask for more than one, and nothing the
  /// parallel search does not do is asked for (observers, reuse of the state
  /// space, shortest or fastest traces, bit-state or convex-hull lists).
  bool runsInParallel(const std::list<Filter*>& collectors) const;
  /// `reachable` from the start state by several threads, over a list of
  /// its own; `text` is the property, parsed again for each further worker.
  DriverResult reachableInParallel(const std::string& text, const ParsedProperty& parsed);
  DriverResult leadsto(const Pointer<GlobalState>& start, const Pointer<TCTLExpression>& premise,
                       const Pointer<TCTLExpression>& consequence);
  /// The fastest search for the formula of `text` (an E<> or A[] property
  /// whose search `run` found its state): best-first by the hidden clock of
  /// a copy of the model, from the start state. Answers the least time; adds
  /// the search's counts to `run` and, when traces are kept, makes its path
  /// the trace that takes that time, recorded in the trace store as moves of
  /// this model.
  ElapsedTime fastest(const std::string& text, DriverResult& run);
  /// The start state with the hidden clock of `timed_`, which reads 0.
  Pointer<GlobalState> timedStart() const;
  /// The list of a fastest search over `timed_`: exact or packed zones as
  /// the options ask for, least lower bound of the hidden clock first, none
  /// above `*cutoff`.
  PWList* createTimedList(const int* cutoff);
  /// Records the moves of `timed`, a trace over `timed_`, in the trace store
  /// as moves of this model from the start state; answers that trace.
  Pointer<Trace> recordAsOwn(Trace& timed);
  /// Runs `search` over the state space from `start`; if it throws, the
  /// half-explored state space is dropped for a fresh one first (a stopped
  /// search's exception gets the state space's counts before).
  void searchStateSpace(Filter& search, const Pointer<GlobalState>& start);
  /// A new passed/waiting list as the options ask for, stepping the
  /// checker's search watch.
  PWList* createPWList();
  /// The passed list of a liveness search: as the options ask for, but exact
  /// where the chosen representation over-approximates.
  PWList* createLivenessList();
  /// The found flag and the two traces (to the loop, the loop) of a witness
  /// sink.
  template <class Checker> DriverResult witnessOf(const TraceStopSink<Checker>& sink) const;
  /// Records the start state as a root of the trace store.
  void recordInitial();
  /// Drops a search that was cut short: the next check starts afresh.
  void abandonSearch();

  LoadedModel& model_;
  const SearchOptions& options_;
  bool progress_;
  /// Started at every check; every list the checker creates steps it, so it
  /// outlives them.
  SearchWatch watch_;
  Pointer<TraceStore> traceStore_;
  Pointer<ReachabilityFilter> stateSpace_;
  /// Where the next reachability search starts; null: it continues the
  /// stored one.
  Pointer<GlobalState> currentInitial_;
  /// The constants the stored state space is normalised with.
  NormalisationInfo constants_;
  /// The kind of the last check, whose stored search the next one may
  /// continue; none when it may not.
  std::optional<PropertyKind> lastKind_;
  /// The abstraction of the last check (the one of its state space).
  Abstraction abstraction_;
  /// The model with the hidden clock of fastest searches, made by the
  /// first one.
  std::unique_ptr<LoadedModel> timed_;
};

} // namespace orvela
