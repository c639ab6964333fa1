#include "session/Session.h"
#include "base/Exceptions.h"
#include "checkers/CDDDeadlockExpr.h"
#include "checkers/LeadsToChecker.h"
#include "checkers/LivenessChecker.h"
#include "checkers/QueryFilters.h"
#include "checkers/TraceSimulation.h"
#include "engine/StateBlocks.h"
#include "engine/StopSinks.h"
#include "engine/StorageReduction.h"
#include "language/ParseProperty.h"
#include "language/ParseSystem.h"
#include "pwlist/PWListFactories.h"
#include "symbolic/ClockInfo.h"
#include "symbolic/IntegerInfo.h"

#include <algorithm>
#include <memory>
#include <optional>
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

Session::Session()
    : wcrtCollector_(new ClockMinMaxFilter(WatchItems())),
      domainCollector_(new IntegerMinMaxFilter(WatchItems())) {}

Session::~Session() = default;

// ----------------------------------------------------------------- loading

void Session::requireSystem() const {
  if (!system_)
    throw ProtocolError("No system received");
}

void Session::dropModel() {
  currentInitial_ = nullptr;
  initial_ = nullptr;
  stateSpace_ = nullptr;
  traceStore_ = nullptr;
  simulator_.reset();
  stateAlloc_ = nullptr;
  system_ = nullptr;
  lastKind_.reset();
  active_.clear();
  // Watched items name processes, locations and variables of the old model.
  wcrtCollector_ = new ClockMinMaxFilter(WatchItems());
  domainCollector_ = new IntegerMinMaxFilter(WatchItems());
}

void Session::loadSystem(std::istream& description, std::string* messages) {
  dropModel();
  std::ostringstream errors;
  Pointer<System> system = parseSystem(description, errors);
  if (messages)
    *messages = errors.str();
  if (!system)
    throw ProtocolError("Syntax errors in system.");
  try {
    system_ = system;
    normalisationInfo_ = NormalisationInfo(system_->tables().clockCount());
    system_->accept(normalisationInfo_);
    initial_ = system_->calcInitial();
    initialize();
    stateAlloc_ = createChunkAllocator(system_->getSizeOfUnpackedState());
    simulator_ =
        std::make_unique<Simulator>(system_, stateAlloc_, options_.normalise, normalisationInfo_);
  } catch (...) {
    // Half derived, the model would lack what the other operations rely on.
    dropModel();
    throw;
  }
}

std::vector<std::string> Session::integerNames() const {
  requireSystem();
  const ModelTables& tables = system_->tables();
  std::vector<std::string> names;
  names.reserve(std::size_t(tables.realInts));
  for (int k = 0; k < tables.realInts; ++k)
    names.emplace_back(tables.integers[std::size_t(k)].name.c_str());
  return names;
}

std::vector<std::string> Session::clockNames() const {
  requireSystem();
  std::vector<std::string> names;
  for (const ClockInfo& clock : system_->tables().clocks)
    names.emplace_back(clock.name.c_str());
  return names;
}

// ----------------------------------------------------------------- options

OptionEffect Session::setOption(std::string_view name, char value) {
  const OptionEffect effect = applyOption(options_, name, value);
  if (effect == OptionEffect::stateSpaceEmptied)
    stateSpace_ = nullptr;
  return effect;
}

void Session::recordInitial() { initial_->setTraceId(traceStore_->put(nullptr, -1)); }

void Session::initialize() {
  if (!system_)
    return;
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
    stateSpace_ = createStateSpaceFilter(system_, createPWList(), traceStore_, reduction());
    stateSpace_->setActiveClocks(options_.activeClocks);
    stateSpace_->setReuse(options_.reuse);
    stateSpace_->setSilent(!progress_);
    lastKind_.reset();
  }
}

void Session::setProgress(bool show) {
  progress_ = show;
  if (stateSpace_)
    stateSpace_->setSilent(!progress_);
}

PWList* Session::createPWList() {
  WaitingStore* order =
      options_.order == SearchOrder::depthFirst ? createStackPWOrder() : createQueuePWOrder();
  const StateShape shape = stateShapeOf(*system_);
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

// ---------------------------------------------------------------- checking

CheckResult Session::check(std::istream& property) {
  requireSystem();
  initialize(); // a state space even after a request that failed part-way
  std::ostringstream errors;
  ParsedProperty parsed = parseProperty(property, system_, errors, deadlockFactory(system_));
  if (!parsed.expression) {
    const std::string messages = errors.str();
    if (messages.empty()) // an empty line, or the end of the input
      throw InputError("Unsupported property type.");
    throw InputError("%s", messages.substr(0, 255).c_str());
  }
  const Pointer<TCTLExpression>& expression = parsed.expression;

  // Zones are normalised with the constants of the model and the property, so
  // that normalisation never hides what the property asks about. A stored
  // search may only be continued under the same constants.
  NormalisationInfo constants(system_->tables().clockCount());
  system_->accept(constants);
  if (parsed.premise)
    parsed.premise->accept(constants);
  expression->accept(constants);
  if (constants != normalisationInfo_) {
    normalisationInfo_ = constants;
    lastKind_.reset();
  }
  if (!options_.reuse)
    lastKind_.reset();
  // Bounds that depend on the property leave nothing for the next check.
  Abstraction abstraction =
      chooseAbstraction(options_, parsed.kind, containsDeadlock(*expression), *system_, constants,
                        *expression, parsed.premise.get());
  if (abstraction.bounds || lastAbstraction_.bounds)
    lastKind_.reset();
  lastAbstraction_ = abstraction;

  if (options_.activeClocks) {
    std::set<int> clocks;
    expression->collectClocks(clocks);
    if (parsed.premise)
      parsed.premise->collectClocks(clocks);
    if (!lastKind_ ||
        !std::includes(active_.begin(), active_.end(), clocks.begin(), clocks.end())) {
      active_ = clocks;
      system_->propagateClocks(active_);
      lastKind_.reset();
    }
  }
  if (!lastKind_ || !leavesStateSpace(*lastKind_))
    currentInitial_ = initial_;

  CheckResult result;
  result.kind = parsed.kind;
  DriverResult run;
  watch_.start(limits_);
  try {
    switch (parsed.kind) {
    case PropertyKind::invariantly:
    case PropertyKind::possibly:
      run = reachable(currentInitial_, expression);
      run.trace.loop = new NullTrace();
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

void Session::searchStateSpace(Filter& search, const Pointer<GlobalState>& start) {
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

Session::DriverResult Session::reachable(const Pointer<GlobalState>& start,
                                         const Pointer<TCTLExpression>& property) {
  std::list<Filter*> extra;
  if (!wcrtCollector_->watches().empty())
    extra.push_back(wcrtCollector_.get());
  if (!domainCollector_->watches().empty())
    extra.push_back(domainCollector_.get());
  // The deadlock predicate splits zones, which only the multi-state query
  // can follow.
  Pointer<AbstractReachabilityFilter> search =
      containsDeadlock(*property) ? createMultiReachabilityFilter(stateSpace_.get(), extra)
                                  : createReachabilityFilter(stateSpace_.get(), extra);
  Pointer<StopSink> stop = new StopSink(search);
  search->setSink(stop.get());
  stateSpace_->setConstants(normalisationInfo_, lastAbstraction_);
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

PWList* Session::createLivenessList() {
  // A convex-hull list would prune states that no explored state covers,
  // and with them witnesses: a search for one needs an exact list.
  if (!options_.overapproximation)
    return createPWList();
  PWList* list = createDBMPWList(pastSize, createStackPWOrder(), stateShapeOf(*system_));
  list->watchWith(&watch_);
  return list;
}

template <class Checker>
Session::DriverResult Session::witnessOf(const TraceStopSink<Checker>& sink) const {
  DriverResult result;
  result.found = sink.found();
  const auto [start, end] = sink.identifiers();
  result.trace.path = traceStore_->createTrace(start);
  result.trace.loop = traceStore_->createTrace(start, end);
  return result;
}

Session::DriverResult Session::liveness(const Pointer<TCTLExpression>& property) {
  const Pointer<PWList> passed = createLivenessList();
  Pointer<LivenessChecker> checker = new LivenessChecker(frontBuckets, system_, passed, traceStore_,
                                                         normalisationInfo_, reduction());
  Pointer<TraceStopSink<LivenessChecker>> sink = new TraceStopSink<LivenessChecker>(checker.get());
  checker->setSink(sink.get());
  checker->setExpression(property);
  try {
    checker->tryPut(initial_.get());
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

Session::DriverResult Session::leadsto(const Pointer<GlobalState>& start,
                                       const Pointer<TCTLExpression>& premise,
                                       const Pointer<TCTLExpression>& consequence) {
  const Pointer<PWList> passed = createLivenessList();
  Pointer<LeadsToChecker> checker = new LeadsToChecker(
      frontBuckets, system_, stateSpace_, passed, traceStore_, normalisationInfo_, reduction());
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

void Session::abandonSearch() {
  // A search cut short leaves its state space half-explored: start afresh.
  stateSpace_ = nullptr;
  currentInitial_ = nullptr;
  initialize();
}

bool Session::replay(const CheckResult& result, const StepVisitor& visit, bool withStart) const {
  if (!result.hasTrace)
    return true;
  TraceSimulation simulation(concat(result.trace.path, result.trace.loop), system_, stateAlloc_,
                             initial_.get());
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

bool Session::satisfies(const TCTLExpression& formula, const GlobalState* state) const {
  requireSystem();
  // The pieces where the formula holds: the deadlock predicate may split
  // the zone.
  StateList pieces{StateBlocks(*system_, stateAlloc_).copyOf(*state)};
  formula.evaluateMulti(pieces, stateAlloc_.get());
  const bool holds = !pieces.empty();
  for (GlobalState* piece : pieces)
    returnState(piece, stateAlloc_.get());
  return holds;
}

// -------------------------------------------------------------- simulation

Pointer<GlobalState> Session::initialState() const {
  requireSystem();
  return simulator_->initialState();
}

void Session::enabledMoves(const GlobalState* state, const StepVisitor& deliver) {
  requireSystem();
  simulator_->enabledMoves(state, deliver);
}

Session::Move Session::moveOf(const GlobalState* state, const Transition* const* requested) {
  requireSystem();
  return simulator_->moveOf(state, requested);
}

void Session::successors(const GlobalState* state, const Move& move, const StepVisitor& deliver) {
  requireSystem();
  simulator_->successors(state, move, deliver);
}

bool Session::isStored(const GlobalState* state, const Transition* const* edges) const {
  return simulator_->isStored(reduction(), state, edges);
}

StorageReduction Session::reduction() const { return options_.reduction; }

void Session::startFrom(const Pointer<GlobalState>& state) {
  requireSystem();
  initialize();
  initial_ = state;
  currentInitial_ = state;
  // Traces of searches from this state end at its own root entry.
  recordInitial();
}

// ---------------------------------------------------------------- analyses

void Session::checkWatchItem(const MinMaxFilter::PLV& item, Watched watched) const {
  requireSystem();
  const std::size_t variables = watched == Watched::integer ? system_->tables().integers.size()
                                                            : system_->tables().clocks.size();
  const bool inModel = item.process >= -1 && item.process < system_->getProcessCount() &&
                       (item.process == -1 ||
                        (item.location >= 0 &&
                         item.location < system_->getProcess(item.process)->getLocationCount())) &&
                       item.variable >= 0 && std::size_t(item.variable) < variables;
  if (!inModel)
    throw ProtocolError("Not a PLV tripple");
}

void Session::startDomainCollection(const WatchItems& items) {
  for (const MinMaxFilter::PLV& item : items)
    checkWatchItem(item, Watched::integer);
  domainCollector_ = new IntegerMinMaxFilter(items);
}

void Session::startResponseTimeCollection(const WatchItems& items) {
  for (const MinMaxFilter::PLV& item : items)
    checkWatchItem(item, Watched::clock);
  wcrtCollector_ = new ClockMinMaxFilter(items);
}

} // namespace orvela
