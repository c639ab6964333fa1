#include "Verifier.h"

#include "TraceText.h"
#include "base/Exceptions.h"
#include "checkers/CDDDeadlockExpr.h"
#include "checkers/Concretiser.h"
#include "engine/ProcessMemory.h"
#include "language/ParseProperty.h"
#include "session/Session.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <sstream>

namespace orvela::verifier {

namespace {

/// The parser's messages as one line.
std::string oneLine(const char* message) {
  std::string text = message;
  while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
    text.pop_back();
  for (std::size_t at; (at = text.find('\n')) != std::string::npos;)
    text.replace(at, 1, "; ");
  return text;
}

/// The verdict of a property whose search found what it looked for: a
/// witness of E<> and E[], a counterexample of the other kinds.
Verdict foundVerdict(PropertyKind kind) {
  return searchesCounterexample(kind) ? Verdict::notSatisfied : Verdict::satisfied;
}

/// Why a property was rejected, into `report`: the session's message, told
/// precisely when the parser says what is bad and where (the server keeps
/// its reply).
void rejection(const InputError& error, const Pointer<System>& system, PropertyReport& report) {
  report.reason = oneLine(error.what());
  // One "Bad property" line per error of the parse.
  if (report.reason.rfind("Bad property", 0) != 0)
    return;
  report.reason = "Bad property";
  const ParsedProperty parsed =
      parseProperty(report.query.text, system, nullptr, deadlockFactory(system));
  if (parsed.result == 2) {
    report.reason += ": nested too deeply for the parser";
  } else if (!parsed.messages.empty()) {
    report.reason += ": " + parsed.messages.front().text;
    report.column = parsed.messages.front().column;
  }
}

const char* approximationOf(const SearchOptions& options) {
  if (options.underapproximation)
    return "bit-state hashing may have missed states";
  if (options.overapproximation)
    return "convex hulls over-approximate the reachable states";
  return "approximated state space";
}

} // namespace

PropertyReport Verifier::check(const Query& query) {
  PropertyReport report;
  report.query = query;
  const auto start = std::chrono::steady_clock::now();
  std::optional<CheckResult> result;
  try {
    std::istringstream text(query.text);
    result = session_.check(text);
  } catch (const InputError& error) {
    report.badInput = true;
    rejection(error, session_.system(), report);
  } catch (const ProtocolError& error) {
    report.badInput = true;
    report.reason = oneLine(error.what());
  }
  report.stats.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (result) {
    report.kind = result->kind;
    report.stats.explored = result->explored;
    report.stats.stored = result->stored;
    report.time = result->time;
    judge(*result, report);
  }
  // The process's high-water mark so far: restarting it per property would
  // hide the run's peak from outside measurements (time, harnesses).
  report.stats.peakMiB = peakResidentMiB();
  return report;
}

void Verifier::judge(const CheckResult& result, PropertyReport& report) const {
  switch (result.verdict) {
  case 'T':
    report.verdict = Verdict::satisfied;
    break;
  case 'F':
    report.verdict = Verdict::notSatisfied;
    break;
  case 'M':
    // The searches of E[] and A<> keep exact zones under convex hulls: what
    // they found is real, whatever the session answers its protocol.
    if (result.found && !result.overApproximated) {
      report.verdict = foundVerdict(result.kind);
    } else {
      report.verdict = Verdict::maybe;
      report.reason = approximationOf(session_.options());
    }
    break;
  default:
    report.verdict = Verdict::unknown;
    report.reason = result.stopReason;
  }
  // A state found over convex hulls is real when the trace to it can be
  // replayed on exact zones and the formula holds where the replay ends.
  const bool confirmable =
      report.verdict == Verdict::maybe && result.found &&
      (result.kind == PropertyKind::invariantly || result.kind == PropertyKind::possibly);
  if (!result.hasTrace || !(traces_ || confirmable))
    return;
  if (replayTrace(result, report, confirmable) && confirmable) {
    report.verdict = foundVerdict(result.kind);
    report.reason = "confirmed by exact replay";
  }
}

bool Verifier::replayTrace(const CheckResult& result, PropertyReport& report, bool confirm) const {
  const System& system = *session_.system();
  const ZoneFormat zoneFormat = session_.options().zoneFormat;
  const int steps = result.trace.path ? result.trace.path->getLength() : 0;
  int reached = 0; // states visited so far, the start state first
  bool holds = false;
  std::optional<Concretiser> concretiser;
  if (traces_ && concrete_)
    concretiser.emplace(session_.system(), *session_.model().start());
  const bool complete = session_.replay(
      result,
      [&](const GlobalState* state, const Transition* const* edges) {
        if (confirm && reached++ == steps)
          holds = session_.satisfies(*result.formula, state);
        if (!traces_)
          return;
        if (concretiser)
          concretiser->add(*state, edges);
        TraceStep step;
        for (const Transition* const* edge = edges; *edge; ++edge)
          step.edges.push_back(describeEdge(**edge));
        step.state = describeState(system, *state, zoneFormat);
        report.trace.push_back(std::move(step));
      },
      true);
  if (traces_) {
    report.traceCut = !complete;
    if (result.trace.loop && result.trace.loop->getLength() > 0 && result.trace.path)
      report.loopStart = result.trace.path->getLength();
  }
  if (concretiser && complete)
    addConcreteRun(result, *concretiser, report);
  return complete && holds;
}

void Verifier::addConcreteRun(const CheckResult& result, const Concretiser& concretiser,
                              PropertyReport& report) const {
  // The searches of E<> and A[] end where their formula holds; the other
  // kinds' traces end in a state, whatever its valuation.
  const bool toFormula =
      result.kind == PropertyKind::possibly || result.kind == PropertyKind::invariantly;
  const std::optional<ConcreteRun> run = concretiser.concretise(
      toFormula ? result.formula.get() : nullptr, session_.model().allocator());
  if (!run)
    return;
  const std::vector<ClockInfo>& clocks = session_.system()->tables().clocks;
  for (std::size_t k = 0; k < run->steps.size(); ++k) {
    TraceStep& step = report.trace[k];
    if (k > 0)
      step.delay = run->steps[k].delay.get_str();
    for (std::size_t x = 1; x < run->steps[k].clocks.size(); ++x)
      step.clocks.emplace_back(clocks[x].name, run->steps[k].clocks[x].get_str());
  }
  report.finalDelay = run->finalDelay.get_str();
}

} // namespace orvela::verifier
