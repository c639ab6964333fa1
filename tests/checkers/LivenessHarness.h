#pragma once
// E[], A<> and leads-to checks over a model written in the description
// language, set up as the model-checking service sets them up: a memory trace
// store holding the initial state, the default passed/waiting lists, and a
// stop sink behind the checker.

#include "checkers/CDDDeadlockExpr.h"
#include "checkers/LeadsToChecker.h"
#include "checkers/LivenessChecker.h"
#include "checkers/ReachabilityFilter.h"
#include "engine/StopSinks.h"
#include "language/ParseProperty.h"
#include "pwlist/PWListFactories.h"
#include "support/ModelText.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace orvela::test {

/// What a check found.
struct Verdict {
  bool holds = false; ///< the property is satisfied
  bool found = false; ///< the checker reported a witness or counterexample
  std::pair<int, int> witness{-1, -1};
};

class LivenessHarness {
public:
  /// The model of `text` with its initial state recorded in a memory trace
  /// store.
  explicit LivenessHarness(const std::string& text)
      : system(loadSystem(text)), store(new MemoryTraceStore()) {
    if (!system)
      return;
    info = NormalisationInfo(system->tables().clockCount());
    initial = system->calcInitial();
    initial->setTraceId(store->put(nullptr, -1));
    system->accept(info);
  }

  PWList* newList() const { return createDBMPWList(1009, createStackPWOrder(), system); }

  /// Checks an E[], A<> or leads-to property given as text from the initial
  /// state. E[] phi and A<> (whose formula is already the negation) run a
  /// liveness search, leads-to a state-space search feeding one. Every state
  /// must be back in the allocator at the end but the transition filter's
  /// two scratch states.
  Verdict check(const std::string& text) {
    std::string messages;
    ParsedProperty property = parseProperty(text, system, &messages, deadlockFactory(system));
    EXPECT_TRUE(property.expression) << text << '\n' << messages;
    const PropertyKind kind = property.kind;
    if (!property.expression ||
        (kind != PropertyKind::potentiallyAlways && kind != PropertyKind::eventually &&
         kind != PropertyKind::leadsTo)) {
      ADD_FAILURE() << "not a liveness property: " << text;
      return {};
    }
    bool found;
    std::pair<int, int> identifiers;
    Pointer<LivenessChecker> checker;
    if (kind == PropertyKind::leadsTo) {
      Pointer<ReachabilityFilter> stateSpace = new ReachabilityFilter(
          system, createDBMPWList(1009, createQueuePWOrder(), system), store);
      Pointer<LeadsToChecker> leads =
          new LeadsToChecker(1009, system, stateSpace, newList(), store, info);
      Pointer<TraceStopSink<LeadsToChecker>> sink = new TraceStopSink<LeadsToChecker>(leads.get());
      leads->setSink(sink.get());
      leads->setExpression(property.premise, property.expression);
      leads->tryPut(initial.get());
      checker = leads->live();
      found = sink->found();
      identifiers = sink->identifiers();
    } else {
      checker = new LivenessChecker(1009, system, newList(), store, info);
      Pointer<TraceStopSink<LivenessChecker>> sink =
          new TraceStopSink<LivenessChecker>(checker.get());
      checker->setSink(sink.get());
      checker->setExpression(property.expression);
      checker->tryPut(initial.get());
      found = sink->found();
      identifiers = sink->identifiers();
    }
    EXPECT_EQ(checker->allocator()->blocksOut(), 2u) << "states lost by the search";
    return {found == (kind == PropertyKind::potentiallyAlways), found, identifiers};
  }

  /// The moves of the trace to the loop start and of the loop, one string
  /// per step ("P.a>b", edges of one move joined by blanks).
  std::pair<std::vector<std::string>, std::vector<std::string>>
  traces(const Verdict& verdict) const {
    const auto steps = [](const Pointer<Trace>& trace) {
      std::vector<std::string> names;
      for (trace->reset(); !trace->atEnd(); trace->next())
        names.push_back(moveName(trace->getCurrent()));
      return names;
    };
    return {steps(store->createTrace(verdict.witness.first)),
            steps(store->createTrace(verdict.witness.first, verdict.witness.second))};
  }

  Pointer<System> system;
  Pointer<MemoryTraceStore> store;
  Pointer<GlobalState> initial;
  NormalisationInfo info;
};

} // namespace orvela::test
