// orvela-reach: loads a system description, decides one reachability or
// invariance property over locations by a full symbolic search, and prints
// the verdict and what the search did:
//
//   orvela-reach [--order 0|1] [--reduction 0|1|2] [--representation 0|1]
//                [--extrapolation 0|1|2|3] [--subsumption 0|1]
//                [--trace] [--buckets N] [--threads N] MODEL 'PROPERTY'
//
// PROPERTY is "E<> F" or "A[] F" where F combines location tests
// Process.location with "and", "or", "not" and parentheses. One line of
// "key=value" fields is printed: the verdict, the states explored (taken from
// the waiting list), stored (accepted by the passed list) and kept (in the
// passed list at the end), the wall seconds from start to the end of the
// search, the peak resident memory in MiB, the bytes of the nodes that hold
// the kept states and their mean per kept state (representation 0 keeps exact
// zones, 1 packs explored ones), and with --trace the length of the trace to
// the state found. --extrapolation widens zones by the global maximal
// constants (0, the default), the local ones (1), global LU bounds (2) or
// local LU bounds (3); --subsumption compares zones by inclusion (0, the
// default) or LU simulation (1). A model with difference constraints keeps 0
// and 0. --threads N searches with the parallel search's N workers over its
// partitioned list (also for N = 1, to measure how it scales); --buckets is
// then the buckets of each partition, and kept and the bytes are not counted.

#include "checkers/QueryFilters.h"
#include "checkers/ReachabilityFilter.h"
#include "checkers/TraceStore.h"
#include "engine/NormalisationInfo.h"
#include "engine/ProcessMemory.h"
#include "engine/StopSinks.h"
#include "engine/StorageReduction.h"
#include "expr/LogicExpressions.h"
#include "formula/TCTLExpressionAdaptor.h"
#include "language/ParseSystem.h"
#include "model/ControlState.h"
#include "parallel/ParallelReachability.h"
#include "pwlist/PWListFactories.h"
#include "session/Options.h"
#include "symbolic/GlobalStateReference.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

using namespace orvela;

namespace {

[[noreturn]] void usage(const char* message) {
  std::fprintf(stderr,
               "orvela-reach: %s\nusage: orvela-reach [--order 0|1] [--reduction 0|1|2] "
               "[--representation 0|1] [--extrapolation 0|1|2|3] [--subsumption 0|1] [--trace] "
               "[--buckets N] [--threads N] MODEL 'E<> F' | 'A[] F'\n",
               message);
  std::exit(2);
}

/// Location formulas: or of ands of (possibly negated) location tests.
class FormulaReader {
public:
  FormulaReader(const System& system, const std::string& text) : system_(system), text_(text) {}

  Pointer<Expression> read() {
    Pointer<Expression> formula = disjunction();
    skipBlanks();
    if (at_ != text_.size())
      usage("unexpected text in the property");
    return formula;
  }

private:
  void skipBlanks() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_])))
      ++at_;
  }
  bool take(const char* word) {
    skipBlanks();
    const std::size_t length = std::strlen(word);
    if (text_.compare(at_, length, word) != 0)
      return false;
    const char after = at_ + length < text_.size() ? text_[at_ + length] : ' ';
    if (std::isalnum(static_cast<unsigned char>(word[0])) &&
        (std::isalnum(static_cast<unsigned char>(after)) || after == '_'))
      return false;
    at_ += length;
    return true;
  }
  std::string name() {
    skipBlanks();
    const std::size_t start = at_;
    while (at_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[at_])) || text_[at_] == '_'))
      ++at_;
    if (start == at_)
      usage("a location test Process.location expected");
    return text_.substr(start, at_ - start);
  }
  Pointer<Expression> disjunction() {
    Pointer<Expression> left = conjunction();
    while (take("or")) // a or b = not (not a and not b)
      left = new NotExpression(
          new AndExpression(new NotExpression(left), new NotExpression(conjunction())));
    return left;
  }
  Pointer<Expression> conjunction() {
    Pointer<Expression> left = atom();
    while (take("and"))
      left = new AndExpression(left, atom());
    return left;
  }
  Pointer<Expression> atom() {
    if (take("not"))
      return new NotExpression(atom());
    if (take("(")) {
      Pointer<Expression> inner = disjunction();
      if (!take(")"))
        usage("')' expected");
      return inner;
    }
    const std::string process = name();
    if (!take("."))
      usage("'.' expected after a process name");
    const std::string location = name();
    for (int p = 0; p < system_.getProcessCount(); ++p) {
      const Process& candidate = *system_.getProcess(p);
      if (process != candidate.getName())
        continue;
      for (int l = 0; l < candidate.getLocationCount(); ++l)
        if (location == candidate.getControlState(l)->getName())
          return new StateExpression(unsigned(p), unsigned(l));
    }
    usage(("no location " + process + "." + location).c_str());
  }

  const System& system_;
  const std::string& text_;
  std::size_t at_ = 0;
};

unsigned buckets = 0; // 0: the search's own default
int order = 0;
int representation = 0;
StorageReduction reduction = StorageReduction::dropUnnecessaryCommitted;
StateShape shape;

PWList* makeList() {
  WaitingStore* waiting = order == 1 ? createStackPWOrder() : createQueuePWOrder();
  if (representation == 1)
    return createPackedPWList(buckets, waiting, shape);
  return createDBMPWList(buckets, waiting, shape);
}

/// The parallel search with `threads` workers: prints its figures and
/// answers the exit status.
int searchInParallel(const Pointer<System>& system, const std::string& property, bool invariance,
                     unsigned threads, const NormalisationInfo& info,
                     const Abstraction& abstraction, std::chrono::steady_clock::time_point start) {
  ParallelSettings settings;
  settings.threads = threads;
  settings.reduction = reduction;
  settings.makeList = makeList;
  std::vector<Pointer<TCTLExpression>> queries;
  for (unsigned w = 0; w < threads; ++w) {
    Pointer<Expression> formula = FormulaReader(*system, property.substr(3)).read();
    if (invariance)
      formula = new NotExpression(formula);
    queries.push_back(new TCTLExpressionAdaptor(formula));
  }
  ParallelReachability search(system, settings);
  const ParallelOutcome outcome =
      search.run(*system->calcInitial(), queries, false, info, abstraction, nullptr);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const bool found = bool(outcome.goal);
  std::printf("verdict=%s explored=%llu stored=%llu seconds=%.3f peak_mib=%.1f threads=%u\n",
              (found != invariance) ? "satisfied" : "not-satisfied",
              static_cast<unsigned long long>(outcome.explored),
              static_cast<unsigned long long>(outcome.stored), seconds, peakResidentMiB(), threads);
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  const auto start = std::chrono::steady_clock::now();
  bool trace = false;
  unsigned threads = 0;
  Abstraction abstraction;
  int argument = 1;
  for (; argument < argc && argv[argument][0] == '-' && argv[argument][1] == '-'; ++argument) {
    const std::string option = argv[argument];
    if (option == "--trace") {
      trace = true;
      continue;
    }
    if (argument + 1 >= argc)
      usage("option without value");
    const int value = std::atoi(argv[++argument]);
    if (option == "--order")
      order = value;
    else if (option == "--reduction")
      reduction = static_cast<StorageReduction>(value);
    else if (option == "--buckets")
      buckets = unsigned(value);
    else if (option == "--threads" && value >= 1)
      threads = unsigned(value);
    else if (option == "--representation" && (value == 0 || value == 1))
      representation = value;
    else if (option == "--extrapolation" && value >= 0 && value <= 3)
      abstraction.extrapolation = Extrapolation(value);
    else if (option == "--subsumption" && (value == 0 || value == 1))
      abstraction.subsumption = Subsumption(value);
    else
      usage("unknown option");
  }
  if (argc - argument != 2)
    usage("a model and a property expected");

  std::ifstream file(argv[argument]);
  if (!file)
    usage("cannot read the model");
  std::stringstream text;
  text << file.rdbuf();
  std::string messages;
  Pointer<System> system = parseSystem(text.str(), &messages);
  if (!system) {
    std::cerr << messages;
    return 3;
  }

  std::string property = argv[argument + 1];
  const bool invariance = property.rfind("A[]", 0) == 0;
  if (!invariance && property.rfind("E<>", 0) != 0)
    usage("the property must start with E<> or A[]");
  Pointer<Expression> formula = FormulaReader(*system, property.substr(3)).read();
  if (invariance) // A[] F fails exactly when not F is reachable
    formula = new NotExpression(formula);
  Pointer<TCTLExpression> goal = new TCTLExpressionAdaptor(formula);

  NormalisationInfo info(system->tables().clockCount());
  system->accept(info);
  // Location properties add no clock bounds.
  if (!info.constraints.empty())
    abstraction = Abstraction();
  else if (abstraction.extrapolation != Extrapolation::globalMax ||
           abstraction.subsumption != Subsumption::inclusion)
    abstraction.bounds = new ClockBounds(*system, info, {});
  shape = stateShapeOf(*system);
  if (threads) {
    if (!buckets)
      buckets = partitionBuckets;
    return searchInParallel(system, property, invariance, threads, info, abstraction, start);
  }
  if (!buckets)
    buckets = pastSize;
  Pointer<TraceStore> traceStore;
  if (trace)
    traceStore = new MemoryTraceStore();
  Pointer<GlobalState> initial = system->calcInitial();
  if (traceStore)
    initial->setTraceId(traceStore->put(nullptr, -1));

  Pointer<ReachabilityFilter> stateSpace =
      createStateSpaceFilter(system, makeList(), traceStore, reduction);
  Pointer<AbstractReachabilityFilter> search = createReachabilityFilter(stateSpace.get(), {});
  Pointer<StopSink> stop = new StopSink(search.get());
  search->setSink(stop.get());
  stateSpace->setConstants(info, abstraction);
  search->setExpression(goal);
  search->tryPut(initial.get());
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::size_t kept = 0;
  Pointer<PureSource> stored = stateSpace->list().enumStates();
  for (GlobalStateReference* ref; stored->tryGet(&ref);)
    ++kept;
  const bool found = bool(stop->state());
  const char* verdict = (found != invariance) ? "satisfied" : "not-satisfied";
  const std::size_t listBytes = stateSpace->list().storedBytes();
  std::printf("verdict=%s explored=%llu stored=%llu kept=%zu seconds=%.3f peak_mib=%.1f "
              "list_bytes=%zu bytes_per_state=%.1f",
              verdict, static_cast<unsigned long long>(stateSpace->exploredStates()),
              static_cast<unsigned long long>(stateSpace->storedStates()), kept, seconds,
              peakResidentMiB(), listBytes, kept ? double(listBytes) / double(kept) : 0.0);
  if (found && traceStore)
    std::printf(" trace=%d", traceStore->createTrace(stop->state()->getTraceId())->getLength());
  std::printf("\n");
  return 0;
}
