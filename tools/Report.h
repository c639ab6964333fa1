#pragma once
// What the verifier found, independent of the form it is printed in: per
// property the verdict, why it is not conclusive, the trace as text and the
// statistics; for the run the options, the totals and what went wrong.

#include "Queries.h"
#include "engine/CostClock.h"
#include "engine/SearchWatch.h"
#include "language/ParseProperty.h"
#include "session/Options.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvela::verifier {

enum class Verdict { satisfied, notSatisfied, maybe, unknown };

/// "satisfied", "not satisfied", "maybe", "unknown".
const char* verdictName(Verdict verdict);
/// The name of a property kind: "invariantly" (A[]), "possibly" (E<>),
/// "potentially always" (E[]), "eventually" (A<>), "leads to" (-->); null
/// for anything else.
const char* kindName(std::optional<PropertyKind> kind);

/// One edge of a step, its parts as the model wrote them.
struct EdgeText {
  std::string process;
  std::string source;
  std::string target;
  std::string guard;   ///< empty when the edge has none
  std::string sync;    ///< "c!", "c?" or empty
  std::string updates; ///< empty when the edge has none
};

/// A state of a trace.
struct StateText {
  std::vector<std::pair<std::string, std::string>> locations; ///< process, location
  std::vector<std::pair<std::string, int>> variables;         ///< name, value
  std::vector<std::string> zone; ///< constraints by clock name; none: every valuation
};

/// The edges taken (none for the start state) and the state reached.
struct TraceStep {
  std::vector<EdgeText> edges;
  StateText state;
  /// Of a concrete trace, as exact rationals ("3/2"): how long time passed
  /// before the edges fired (empty for the start state), and the clock
  /// values on entering the state, by clock name. Empty otherwise.
  std::string delay;
  std::vector<std::pair<std::string, std::string>> clocks;
};

struct Statistics {
  std::uint64_t explored = 0; ///< states taken from the waiting list
  std::uint64_t stored = 0;   ///< states the passed list accepted
  double seconds = 0;         ///< wall-clock time
  double peakMiB = 0;         ///< peak resident memory
};

struct PropertyReport {
  Query query;
  std::optional<PropertyKind> kind; ///< none when the property was not read
  Verdict verdict = Verdict::unknown;
  /// Empty for satisfied and not satisfied, unless an exact replay confirmed
  /// what an approximating search found; the approximation for maybe; the
  /// limit or the error for unknown.
  std::string reason;
  bool badInput = false; ///< the property itself was rejected
  /// Where in the property the reason of a rejection lies (from 1); 0 when
  /// the reason has no place.
  int column = 0;
  /// The start state, then one entry per step; empty without a trace.
  std::vector<TraceStep> trace;
  /// For a trace with a loop: the index of the state the loop starts from
  /// and returns to; -1 otherwise.
  int loopStart = -1;
  /// The replay could not take every step (over-approximation); the trace
  /// holds the steps before that.
  bool traceCut = false;
  /// Of a concrete trace: how long time passes in the last state until the
  /// property's clock constraints hold; empty otherwise.
  std::string finalDelay;
  /// With --trace-kind fastest, for a property whose search found its
  /// state: the least total delay to reach it.
  std::optional<ElapsedTime> time;
  Statistics stats;
};

/// Exit statuses of the verifier.
enum ExitCode {
  allSatisfied = 0,
  someNotSatisfied = 1,
  inconclusive = 2,
  badInput = 3,
  internalFailure = 4,
};

/// Events the model's semantics absorbed during the run: how often and
/// where first.
struct Warning {
  std::string kind; ///< "arithmetic overflow", "value clamped", "index clamped"
  std::uint64_t count = 0;
  std::string where; ///< e.g. "line 4 in process P"
};

/// What the verdicts rest on when there are warnings.
inline constexpr const char* warningNote =
    "the verdicts hold for wrapped-around arithmetic and clamped values";

/// What `orvela --explore` found.
struct Exploration {
  std::uint64_t explored = 0; ///< states taken from the waiting list
  std::uint64_t stored = 0;   ///< states the passed list accepted
  std::uint64_t discrete = 0; ///< distinct locations and integer values among them
  std::string stopReason;     ///< the limit that stopped it; empty when it ran to its end
};

struct RunReport {
  std::string model; ///< as named on the command line
  SearchOptions options;
  SearchLimits limits;
  std::vector<PropertyReport> properties;
  /// With --explore, what the exploration found (no properties then).
  std::optional<Exploration> exploration;
  Statistics total;
  /// What stopped the run before or between properties; empty when nothing.
  std::string error;
  /// The evaluation events of the run, one per kind that happened.
  std::vector<Warning> warnings;
  /// The parser's messages about the model, with their line and column.
  std::vector<ParseMessage> modelMessages;
  ExitCode exitCode = allSatisfied;
};

/// The status of a run that ended with `failure` (`allSatisfied` when nothing
/// went wrong, `badInput` or `internalFailure`): an internal failure first,
/// then bad input (the failure or any rejected property), then a property not
/// satisfied, then an inconclusive one, otherwise every property satisfied.
ExitCode exitCodeOf(const std::vector<PropertyReport>& properties, ExitCode failure);

} // namespace orvela::verifier
