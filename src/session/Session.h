#pragma once
// One verification session: the search options and limits, the loaded model
// with the property checker and the simulator made for it, and the analyses.
// The server's protocol handlers and the command-line verifier both work
// through this class; it reads no request and writes no reply (only the
// search's progress line and diagnostics go to standard error).
//
// Each model's tables (clocks, integers, channels, symbols) belong to its
// System, so sessions are independent: a process may hold several, each
// used by one thread at a time.

#include "engine/SearchWatch.h"
#include "session/Analyses.h"
#include "session/LoadedModel.h"
#include "session/Options.h"
#include "session/PropertyChecker.h"
#include "session/Simulator.h"

#include <iosfwd>
#include <memory>
#include <string>

namespace orvela {

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
  /// errors in system."; the parser's messages (with their line and column)
  /// are stored in `messages` when it is not null.
  void loadSystem(std::istream& description, std::vector<ParseMessage>* messages = nullptr);
  bool hasSystem() const { return bool(model_); }
  /// Throws `ProtocolError` "No system received" without a model.
  void requireSystem() const;
  /// The loaded model's system; null without a model.
  Pointer<System> system() const { return model_ ? model_->system() : nullptr; }
  /// The loaded model; throws `ProtocolError` "No system received" without
  /// one.
  const LoadedModel& model() const;

  // ------------------------------------------------------------- options

  const SearchOptions& options() const { return options_; }
  /// Sets one option (see `applyOption`); an option that affects the stored
  /// state space empties it. Rejected values throw `ProtocolError` and change
  /// nothing. Call `initialize` after a batch of options.
  OptionEffect setOption(std::string_view name, char value);
  /// The threads that explore E<> and A[] checks, beyond the digit the
  /// "threads" option takes: 0 means one per core of the machine.
  void setThreads(unsigned threads) { options_.threads = threads; }
  /// With a model: makes the trace store (a memory store when traces are
  /// kept, a null store otherwise; replaced when the kind no longer matches
  /// the option, the start state recorded in it) and the state space when
  /// either is missing; a new state space starts the next check afresh.
  void initialize();

  /// Limits on every later check (none at first). A check that passes one
  /// stops cleanly: it answers the verdict '?' with the reason and the counts
  /// so far, and the stored state space starts afresh at the next check.
  void setLimits(const SearchLimits& limits) { limits_ = limits; }
  const SearchLimits& limits() const { return limits_; }
  /// Whether reachability searches write their progress line to the standard
  /// error stream (off at first).
  void setProgress(bool show);

  // ------------------------------------------------------------ checking

  /// Each throws `ProtocolError` "No system received" without a model and
  /// otherwise does what `PropertyChecker`'s namesake does; a check runs
  /// under the session's limits and feeds the analyses' collectors.
  CheckResult check(std::istream& property);
  bool replay(const CheckResult& result, const StepVisitor& visit, bool withStart = false) const;
  CheckResult explore(const ExploreVisitor& visit);
  bool satisfies(const TCTLExpression& formula, const GlobalState* state) const;

  // ---------------------------------------------------------- simulation

  /// The loaded model's simulator, which normalises successors when the
  /// option "normalise" was set at the load; throws `ProtocolError` "No
  /// system received" without a model.
  Simulator& simulator();
  /// Makes `state` the model's start state: the next reachability search,
  /// the liveness checks and trace replays start from it.
  void startFrom(const Pointer<GlobalState>& state);

  // ----------------------------------------------------------- analyses

  /// The domain and response-time collections, which every later
  /// reachability check feeds; each load stops them.
  Analyses& analyses() { return analyses_; }
  const Analyses& analyses() const { return analyses_; }

private:
  /// Drops the model and everything derived from it.
  void dropModel();

  SearchOptions options_;
  SearchLimits limits_;
  bool progress_ = false;

  std::unique_ptr<LoadedModel> model_;
  /// With a model, and destroyed before it.
  std::unique_ptr<PropertyChecker> checker_;
  std::unique_ptr<Simulator> simulator_;
  Analyses analyses_;
};

} // namespace orvela
