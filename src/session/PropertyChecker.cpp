#include "session/PropertyChecker.h"

#include "base/Exceptions.h"
#include "checkers/CDDDeadlockExpr.h"
#include "checkers/LeadsToChecker.h"
#include "checkers/LivenessChecker.h"
#include "checkers/QueryFilters.h"
#include "checkers/TraceSimulation.h"
#include "dbm/RawBound.h"
#include "engine/StateBlocks.h"
#include "model/Process.h"
#include "model/Transition.h"
#include "parallel/ParallelReachability.h"
#include "pwlist/PWListFactories.h"
#include "symbolic/UnpackedRegion.h"

#include <algorithm>
#include <limits>
#include <set>
#include <sstream>

namespace orvela {

namespace {

/// 'T', 'M' or 'F' for a check that found (or did not find) what it
/// searched for, a counterexample for the kinds that look for one: what an
/// over-approximating search finds may not exist, and what an
/// under-approximating one misses may.
char verdictOf(bool found, PropertyKind kind, const SearchOptions& options) {
  if (found ? options.overapproximation : options.underapproximation)
    return 'M';
  return found != searchesCounterexample(kind) ? 'T' : 'F';
}

/// Whether a search for a property of `kind` explores the state space of the
/// chosen representation, which the next check may continue: those of E<>,
/// A[] and leads-to (E[] and A<> search exact zones of their own).
bool leavesStateSpace(PropertyKind kind) {
  return kind == PropertyKind::invariantly || kind == PropertyKind::possibly ||
         kind == PropertyKind::leadsTo;
}

} // namespace

PropertyChecker::PropertyChecker(LoadedModel& model, const SearchOptions& options, bool progress)
    : model_(model), options_(options), progress_(progress), constants_(model.constants()) {
  initialize();
}

void PropertyChecker::recordInitial() { model_.start()->setTraceId(traceStore_->put(nullptr, -1)); }

void PropertyChecker::initialize() {
  const bool keepsTraces = dynamic_cast<MemoryTraceStore*>(traceStore_.get()) != nullptr;
  if (!traceStore_ || keepsTraces != options_.trace) {
    if (options_.trace)
      traceStore_ = new MemoryTraceStore();
    else
      traceStore_ = new NullTraceStore();
    recordInitial();
    stateSpace_ = nullptr; // its states name entries of the old store
  }
  if (!stateSpace_) {
    PWList* list = createPWList();
    list->setKeepCoveredWaiting(options_.traceKind == TraceKind::shortest);
    stateSpace_ = createStateSpaceFilter(model_.system(), list, traceStore_, options_.reduction);
    stateSpace_->setActiveClocks(options_.activeClocks);
    stateSpace_->setReuse(options_.reuse);
    stateSpace_->setSilent(!progress_);
    lastKind_.reset();
  }
}

void PropertyChecker::setProgress(bool show) {
  progress_ = show;
  if (stateSpace_)
    stateSpace_->setSilent(!progress_);
}

PWList* PropertyChecker::createPWList() {
  // Breadth-first search meets every state first by a path of fewest steps,
  // as long as no state waiting on one level is dropped for a larger one
  // found on the next.
  const bool depthFirst =
      options_.order == SearchOrder::depthFirst && options_.traceKind != TraceKind::shortest;
  WaitingStore* order = depthFirst ? createStackPWOrder() : createQueuePWOrder();
  const StateShape shape = stateShapeOf(*model_.system());
  PWList* list = nullptr;
  switch (options_.representation) {
  case Representation::exact:
    list = createDBMPWList(pastSize, order, shape);
    break;
  case Representation::packed:
    list = createPackedPWList(pastSize, order, shape);
    break;
  case Representation::bitState:
    list = createBitStateHashingPWList(bitStateBuckets, order, bitpastsize, shape);
    break;
  case Representation::convexHull:
    list = createConvexHullPWList(pastSize, order, shape);
    break;
  default:
    delete order;
    throw ProtocolError("Uknown representation");
  }
  list->watchWith(&watch_);
  return list;
}

CheckResult PropertyChecker::check(std::istream& property, const SearchLimits& limits,
                                   const std::list<Filter*>& collectors, bool clocksWatched) {
  initialize(); // a state space even after a request that failed part-way
  std::ostringstream errors;
  const Pointer<System>& system = model_.system();
  // A fastest or parallel search reads the property again (over the timed
  // copy of the model, for each worker): keep its text (the stream holds one
  // property).
  const bool fastestKind = options_.traceKind == TraceKind::fastest;
  std::ostringstream whole;
  whole << property.rdbuf();
  const std::string text = whole.str();
  std::istringstream kept(text);
  ParsedProperty parsed = parseProperty(kept, system, errors, deadlockFactory(system));
  if (!parsed.expression) {
    const std::string messages = errors.str();
    if (messages.empty()) // an empty line, or the end of the input
      throw InputError("Unsupported property type.");
    throw InputError("%s", messages.substr(0, 255).c_str());
  }
  const Pointer<TCTLExpression>& expression = parsed.expression;
  if (fastestKind) {
    if (parsed.kind != PropertyKind::possibly && parsed.kind != PropertyKind::invariantly)
      throw InputError("Fastest traces exist for E<> and A[] properties only.");
    if (options_.underapproximation || options_.overapproximation)
      throw InputError("Fastest traces need exact or packed zones.");
  }
  prepareFor(parsed, clocksWatched);

  CheckResult result;
  result.kind = parsed.kind;
  DriverResult run;
  watch_.start(limits);
  try {
    switch (parsed.kind) {
    case PropertyKind::invariantly:
    case PropertyKind::possibly:
      run = runsInParallel(collectors) ? reachableInParallel(text, parsed)
                                       : reachable(currentInitial_, expression, collectors);
      run.trace.loop = new NullTrace();
      if (fastestKind && run.found)
        result.time = fastest(text, run);
      break;
    case PropertyKind::potentiallyAlways:
    case PropertyKind::eventually:
      run = liveness(expression);
      break;
    case PropertyKind::leadsTo:
      run = leadsto(currentInitial_, parsed.premise, expression);
      run.found = !run.found;
      break;
    case PropertyKind::quit:
    case PropertyKind::none:
      throw InputError("Unsupported property type.");
    }
  } catch (const SearchLimitReached& stop) {
    // A state space the search left half-explored is gone already.
    result.verdict = '?';
    result.stopReason = stop.what();
    result.explored = stop.explored;
    result.stored = stop.stored;
    return result;
  }
  currentInitial_ = nullptr;
  lastKind_ = parsed.kind;
  result.explored = run.explored;
  result.stored = run.stored;

  result.found = run.found;
  // Leads-to looks for its p-states in the state space of the chosen
  // representation; only the liveness searches keep exact zones throughout.
  result.overApproximated = options_.overapproximation && leavesStateSpace(parsed.kind);
  result.formula = expression;
  result.verdict = verdictOf(run.found, parsed.kind, options_);
  result.hasTrace = run.found && options_.trace;
  if (result.hasTrace)
    result.trace = run.trace;
  return result;
}

void PropertyChecker::prepareFor(const ParsedProperty& parsed, bool clocksWatched) {
  // Zones are normalised with the constants of the model and the property, so
  // that normalisation never hides what the property asks about. A stored
  // search may only be continued under the same constants.
  NormalisationInfo constants(model_.constants());
  if (parsed.premise)
    parsed.premise->accept(constants);
  parsed.expression->accept(constants);
  if (constants != constants_) {
    constants_ = constants;
    lastKind_.reset();
  }
  if (!options_.reuse)
    lastKind_.reset();
  // Bounds that depend on the property leave nothing for the next check.
  Abstraction abstraction =
      chooseAbstraction(options_, parsed.kind, containsDeadlock(*parsed.expression), clocksWatched,
                        *model_.system(), constants, *parsed.expression, parsed.premise.get());
  if (abstraction.bounds || abstraction_.bounds)
    lastKind_.reset();
  abstraction_ = abstraction;

  if (options_.activeClocks) {
    std::set<int> clocks;
    parsed.expression->collectClocks(clocks);
    if (parsed.premise)
      parsed.premise->collectClocks(clocks);
    const std::set<int>& active = model_.activeClocks();
    if (!lastKind_ || !std::includes(active.begin(), active.end(), clocks.begin(), clocks.end())) {
      model_.activateClocks(clocks);
      lastKind_.reset();
    }
  }
  if (!lastKind_ || !leavesStateSpace(*lastKind_))
    currentInitial_ = model_.start();
}

void PropertyChecker::searchStateSpace(Filter& search, const Pointer<GlobalState>& start) {
  try {
    search.tryPut(start.get());
  } catch (SearchLimitReached& stop) {
    stop.explored = stateSpace_->exploredStates();
    stop.stored = stateSpace_->storedStates();
    abandonSearch();
    throw;
  } catch (...) {
    abandonSearch();
    throw;
  }
}

PropertyChecker::DriverResult PropertyChecker::reachable(const Pointer<GlobalState>& start,
                                                         const Pointer<TCTLExpression>& property,
                                                         const std::list<Filter*>& collectors) {
  // The deadlock predicate splits zones, which only the multi-state query
  // can follow.
  Pointer<AbstractReachabilityFilter> search =
      containsDeadlock(*property) ? createMultiReachabilityFilter(stateSpace_.get(), collectors)
                                  : createReachabilityFilter(stateSpace_.get(), collectors);
  Pointer<StopSink> stop = new StopSink(search);
  search->setSink(stop.get());
  stateSpace_->setConstants(constants_, abstraction_);
  search->setExpression(property);
  searchStateSpace(*search, start);
  DriverResult result;
  result.explored = stateSpace_->exploredStates();
  result.stored = stateSpace_->storedStates();
  if (const Pointer<GlobalState>& goal = stop->state()) {
    result.found = true;
    result.trace.path = traceStore_->createTrace(goal->getTraceId());
  }
  return result;
}

bool PropertyChecker::runsInParallel(const std::list<Filter*>& collectors) const {
  const bool zones = options_.representation == Representation::exact ||
                     options_.representation == Representation::packed;
  return threadCount(options_) > 1 && collectors.empty() && !options_.reuse &&
         options_.traceKind == TraceKind::some && zones;
}

PropertyChecker::DriverResult PropertyChecker::reachableInParallel(const std::string& text,
                                                                   const ParsedProperty& parsed) {
  const Pointer<System>& system = model_.system();
  ParallelSettings settings;
  settings.threads = threadCount(options_);
  settings.reduction = options_.reduction;
  settings.traces = options_.trace;
  const bool depthFirst = options_.order == SearchOrder::depthFirst;
  const bool packed = options_.representation == Representation::packed;
  const StateShape shape = stateShapeOf(*system);
  settings.makeList = [=]() -> PWList* {
    WaitingStore* order = depthFirst ? createStackPWOrder() : createQueuePWOrder();
    return packed ? createPackedPWList(partitionBuckets, order, shape)
                  : createDBMPWList(partitionBuckets, order, shape);
  };
  // Evaluating a formula may keep state (the deadlock predicate does): each
  // worker gets an expression of its own.
  std::vector<Pointer<TCTLExpression>> queries{parsed.expression};
  while (queries.size() < settings.threads) {
    std::istringstream again(text);
    std::ostringstream ignored;
    queries.push_back(parseProperty(again, system, ignored, deadlockFactory(system)).expression);
  }
  const bool tracing = options_.trace;
  ParallelReachability search(system, std::move(settings));
  const ParallelOutcome outcome =
      search.run(*model_.start(), queries, containsDeadlock(*parsed.expression), constants_,
                 abstraction_, &watch_);
  DriverResult result;
  result.explored = outcome.explored;
  result.stored = outcome.stored;
  result.found = outcome.goal != nullptr;
  if (result.found && tracing)
    result.trace.path =
        traceStore_->createTrace(search.copyTrace(*traceStore_, model_.start()->getTraceId()));
  return result;
}

namespace {

/// The sink behind the query of a fastest search: keeps the best goal put in
/// (least priority, see `costPriority`) and lowers the cutoff below it, so
/// that the search only goes on with states that may lead to a better one.
class FastestGoalSink final : public ItemSink<FastestGoalSink, GlobalState> {
public:
  FastestGoalSink(int clock, int& cutoff) : clock_(clock), cutoff_(cutoff) {}

  bool put(GlobalState* goal) {
    goal->getUnpackedRegion()->close(); // the query may have narrowed the zone
    const int priority = costPriority(*goal, clock_);
    if (priority <= cutoff_) {
      best_ = priority;
      traceId_ = goal->getTraceId();
      cutoff_ = priority - 1;
    }
    return true;
  }

  bool found() const { return traceId_ >= 0; }
  int best() const { return best_; }
  int traceId() const { return traceId_; }

private:
  int clock_;
  int& cutoff_;
  int best_ = 0;
  int traceId_ = -1;
};

/// Shows every state that passes to the visitor, with the move that led to
/// it when the trace store keeps moves.
class VisitFilter final : public AbstractFilter {
public:
  VisitFilter(const ExploreVisitor& visit, const TraceStore& store)
      : visit_(visit), store_(dynamic_cast<const MemoryTraceStore*>(&store)) {}

  bool tryPut(void* item) override {
    const auto* state = static_cast<const GlobalState*>(item);
    const int id = state->getTraceId();
    const int parent = store_ && id >= 0 ? store_->predecessorOf(id) : -1;
    visit_(*state, parent, parent >= 0 ? store_->movesOf(id) : Trace::noMoves());
    return sink->tryPut(item);
  }

private:
  const ExploreVisitor& visit_;
  const MemoryTraceStore* store_;
};

} // namespace

CheckResult PropertyChecker::explore(const SearchLimits& limits, const ExploreVisitor& visit) {
  initialize();
  Pointer<VisitFilter> visitor = new VisitFilter(visit, *traceStore_);
  std::istringstream nothing("E<> false");
  return check(nothing, limits, {visitor.get()}, false);
}

PWList* PropertyChecker::createTimedList(const int* cutoff) {
  const int clock = timed_->hiddenClock();
  const auto priority = [clock](const GlobalState* state) { return costPriority(*state, clock); };
  WaitingStore* order = createPriorityPWOrder(priority, cutoff);
  const StateShape shape = stateShapeOf(*timed_->system());
  PWList* list = options_.representation == Representation::packed
                     ? createPackedPWList(pastSize, order, shape)
                     : createDBMPWList(pastSize, order, shape);
  list->watchWith(&watch_);
  return list;
}

Pointer<GlobalState> PropertyChecker::timedStart() const {
  const GlobalState& start = *model_.start();
  Pointer<GlobalState> timed = timed_->system()->calcInitial();
  for (int p = 0; p < start.getProcessCount(); ++p)
    timed->setLocation(unsigned(p), start.getLocation(unsigned(p)));
  const IntegerTable& integers = *start.getIntegerTable();
  std::copy_n(integers.getValues(), integers.getCount(), timed->getIntegerTable()->getValues());
  // The hidden clock equals the reference clock: its row and column copy
  // those of clock 0.
  const UnpackedRegion& from = *start.getUnpackedRegion();
  UnpackedRegion& to = *timed->getUnpackedRegion();
  const unsigned hidden = unsigned(timed_->hiddenClock());
  const auto source = [hidden](unsigned k) { return k == hidden ? 0 : k; };
  for (unsigned i = 0; i < to.getDim(); ++i)
    for (unsigned j = 0; j < to.getDim(); ++j)
      to.set(i, j, i == j ? rawLessEqualZero : from.get(source(i), source(j)));
  to.markClosed();
  return timed;
}

ElapsedTime PropertyChecker::fastest(const std::string& text, DriverResult& run) {
  if (!timed_)
    timed_ = model_.withHiddenClock();
  const Pointer<System>& system = timed_->system();
  const int clock = timed_->hiddenClock();
  ParsedProperty parsed = parseProperty(text, system, nullptr, deadlockFactory(system));
  if (!parsed.expression)
    throw Bug("a property lost its meaning over the timed model");
  // The maximal constants, with the hidden clock never widened: LU bounds
  // and simulation would let its lower bound go.
  NormalisationInfo constants(timed_->constants());
  parsed.expression->accept(constants);
  constants.maxConst[std::size_t(clock)] = NormalisationInfo::unbounded;

  int cutoff = std::numeric_limits<int>::max();
  Pointer<TraceStore> store = new MemoryTraceStore();
  Pointer<ReachabilityFilter> space =
      createStateSpaceFilter(system, createTimedList(&cutoff), store, options_.reduction);
  space->setSilent(!progress_);
  space->setCostClock(clock, &cutoff);
  Pointer<AbstractReachabilityFilter> search = containsDeadlock(*parsed.expression)
                                                   ? createMultiReachabilityFilter(space.get(), {})
                                                   : createReachabilityFilter(space.get(), {});
  Pointer<FastestGoalSink> goal = new FastestGoalSink(clock, cutoff);
  search->setSink(goal.get());
  space->setConstants(constants);
  search->setExpression(parsed.expression);
  Pointer<GlobalState> start = timedStart();
  start->setTraceId(store->put(nullptr, -1));
  search->tryPut(start.get());
  if (!goal->found())
    throw Bug("the fastest search missed a state the search found");
  run.explored += space->exploredStates();
  run.stored += space->storedStates();

  if (options_.trace)
    run.trace.path = recordAsOwn(*store->createTrace(goal->traceId()));
  return elapsedTimeOf(goal->best());
}

Pointer<Trace> PropertyChecker::recordAsOwn(Trace& timed) {
  // The timed copy numbers processes and edges as this model does.
  int id = model_.start()->getTraceId();
  std::vector<const Transition*> moves;
  for (timed.reset(); !timed.atEnd(); timed.next()) {
    moves.clear();
    for (const Transition* const* edge = timed.getCurrent(); *edge; ++edge) {
      const Process& process = *model_.system()->getProcess((*edge)->getProcessIndex());
      moves.push_back(process.getTransitions()[std::size_t((*edge)->getIndex())].get());
    }
    moves.push_back(nullptr);
    id = traceStore_->put(moves.data(), id);
  }
  return traceStore_->createTrace(id);
}

PWList* PropertyChecker::createLivenessList() {
  // A convex-hull list would prune states that no explored state covers,
  // and with them witnesses: a search for one needs an exact list.
  if (!options_.overapproximation)
    return createPWList();
  PWList* list = createDBMPWList(pastSize, createStackPWOrder(), stateShapeOf(*model_.system()));
  list->watchWith(&watch_);
  return list;
}

template <class Checker>
PropertyChecker::DriverResult PropertyChecker::witnessOf(const TraceStopSink<Checker>& sink) const {
  DriverResult result;
  result.found = sink.found();
  const auto [start, end] = sink.identifiers();
  result.trace.path = traceStore_->createTrace(start);
  result.trace.loop = traceStore_->createTrace(start, end);
  return result;
}

PropertyChecker::DriverResult PropertyChecker::liveness(const Pointer<TCTLExpression>& property) {
  const Pointer<PWList> passed = createLivenessList();
  Pointer<LivenessChecker> checker = new LivenessChecker(
      frontBuckets, model_.system(), passed, traceStore_, constants_, options_.reduction);
  Pointer<TraceStopSink<LivenessChecker>> sink = new TraceStopSink<LivenessChecker>(checker.get());
  checker->setSink(sink.get());
  checker->setExpression(property);
  try {
    checker->tryPut(model_.start().get());
  } catch (SearchLimitReached& stop) {
    stop.explored = checker->exploredStates();
    stop.stored = passed->getStored();
    throw;
  }
  DriverResult result = witnessOf(*sink);
  result.explored = checker->exploredStates();
  result.stored = passed->getStored();
  return result;
}

PropertyChecker::DriverResult PropertyChecker::leadsto(const Pointer<GlobalState>& start,
                                                       const Pointer<TCTLExpression>& premise,
                                                       const Pointer<TCTLExpression>& consequence) {
  const Pointer<PWList> passed = createLivenessList();
  Pointer<LeadsToChecker> checker =
      new LeadsToChecker(frontBuckets, model_.system(), stateSpace_, passed, traceStore_,
                         constants_, options_.reduction);
  Pointer<TraceStopSink<LeadsToChecker>> sink = new TraceStopSink<LeadsToChecker>(checker.get());
  checker->setSink(sink.get());
  checker->setExpression(premise, consequence);
  try {
    searchStateSpace(*checker, start);
  } catch (SearchLimitReached& stop) {
    // The reachability search's counts are in already.
    stop.explored += checker->live()->exploredStates();
    stop.stored += passed->getStored();
    throw;
  }
  // The driver's flag tells whether the property holds: no counterexample.
  DriverResult result = witnessOf(*sink);
  result.found = !result.found;
  result.explored = stateSpace_->exploredStates() + checker->live()->exploredStates();
  result.stored = stateSpace_->storedStates() + passed->getStored();
  return result;
}

void PropertyChecker::abandonSearch() {
  // A search cut short leaves its state space half-explored: start afresh.
  stateSpace_ = nullptr;
  currentInitial_ = nullptr;
  initialize();
}

bool PropertyChecker::replay(const CheckResult& result, const StepVisitor& visit,
                             bool withStart) const {
  if (!result.hasTrace)
    return true;
  TraceSimulation simulation(concat(result.trace.path, result.trace.loop), model_.system(),
                             model_.allocator(), model_.start().get());
  if (withStart && simulation.getCurrent())
    visit(simulation.getCurrent(), Trace::noMoves());
  while (!simulation.atEnd()) {
    const Transition* const* edges;
    try {
      edges = simulation.next();
    } catch (const Bug&) {
      // Over-approximated zones may lead a search along moves that no run
      // can take; any other representation only records moves that were
      // taken, so a failing step there is a fault.
      if (!options_.overapproximation)
        throw;
      return false;
    }
    visit(simulation.getCurrent(), edges);
  }
  return true;
}

bool PropertyChecker::satisfies(const TCTLExpression& formula, const GlobalState* state) const {
  // The pieces where the formula holds: the deadlock predicate may split
  // the zone.
  Allocator* allocator = model_.allocator().get();
  StateList pieces{StateBlocks(*model_.system(), model_.allocator()).copyOf(*state)};
  formula.evaluateMulti(pieces, allocator);
  const bool holds = !pieces.empty();
  for (GlobalState* piece : pieces)
    returnState(piece, allocator);
  return holds;
}

void PropertyChecker::startFrom(const Pointer<GlobalState>& state) {
  initialize();
  model_.setStart(state);
  currentInitial_ = state;
  // Traces of searches from this state end at its own root entry.
  recordInitial();
}

} // namespace orvela
