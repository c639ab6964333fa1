#pragma once
// Checks properties one after the other on a session that holds the model,
// and turns each answer into a report: verdict, reason, trace, statistics.

#include "Report.h"

namespace orvela {
class Concretiser;
class Session;
struct CheckResult;
} // namespace orvela

namespace orvela::verifier {

class Verifier {
public:
  /// `session` must hold a model; with `traces`, a property that has a
  /// diagnostic trace gets it replayed into its report. A maybe of E<> or A[]
  /// whose trace the session kept is replayed too, to confirm it.
  /// With `concrete`, a printed trace also gets the earliest concrete run
  /// along it: the delays and the clock values.
  Verifier(Session& session, bool traces, bool concrete = false)
      : session_(session), traces_(traces), concrete_(concrete) {}

  /// Checks one property. A property the session rejects (a syntax error, a
  /// kind it cannot check) is reported as unknown bad input; a search stopped
  /// by a limit as unknown with the limit as reason. Failures of the session
  /// itself (`Bug`, `RuntimeError`, memory) are thrown on.
  PropertyReport check(const Query& query);

private:
  /// The verdict and reason of a check that ran, and its trace when traces
  /// are printed. A maybe is made definite where the search's answer is
  /// exact after all, or where an exact replay confirms what it found.
  void judge(const CheckResult& result, PropertyReport& report) const;
  /// Replays the result's trace on exact zones, into the report when traces
  /// are printed. With `confirm` (a trace without loop), answers whether the
  /// replay took every step and the formula the search looked for holds in
  /// the state it ended in; otherwise false.
  bool replayTrace(const CheckResult& result, PropertyReport& report, bool confirm) const;
  /// Adds to the report's trace the earliest concrete run along the states
  /// the replay visited; nothing when no run reaches the formula.
  void addConcreteRun(const CheckResult& result, const Concretiser& concretiser,
                      PropertyReport& report) const;

  Session& session_;
  bool traces_;
  bool concrete_;
};

} // namespace orvela::verifier
