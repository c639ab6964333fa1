#include "CommandLine.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace orvela::verifier {

const char* helpText() {
  return R"(usage: orvela [options] MODEL [QUERIES]
       orvela --explore [options] MODEL
       orvela --describe MODEL

Checks properties of a network of timed automata. MODEL is a system
description; QUERIES a file of properties, one per line (blank lines and
lines starting with // are skipped, a trailing // comment is dropped, and a
line ending in a backslash goes on in the next line). Either may be - for
standard input. The -e properties are checked first, then those of QUERIES.

Properties:
  -e, --property PROPERTY  check PROPERTY (repeatable)

Search:
  --order bfs|dfs          breadth-first (default) or depth-first search
  --representation exact|packed|bitstate|hull
                           how explored states are kept: exact zones (default),
                           packed zones, bit-state hashing (under-approximates:
                           what it does not find is maybe), one convex hull per
                           discrete state (over-approximates: what E<>, A[] and
                           --> find is maybe unless an exact replay of its
                           trace confirms it)
  --reduction 0|1|2        which explored states are stored: 0 all, 1 all but
                           committed ones that need not be (default), 2 all
                           but those that need not be
  --extrapolation global-max|local-max|global-lu|local-lu
                           how zones are widened: by the largest constant of
                           each clock in the model or in the current
                           locations, or by lower and upper bounds (LU) of the
                           model or of the current locations (default
                           local-lu); properties for which LU is unsound
                           (deadlock, E[], A<>, -->) use the maximal constants
  --subsumption inclusion|lu
                           when a stored zone covers a new one: inclusion, or
                           LU simulation (default lu, where it is sound)
  --trace-kind some|shortest|fastest
                           which trace E<> and A[] report: the first found
                           (default), one of fewest steps (breadth-first
                           search gives it; excludes --order dfs), or one of
                           least total delay, with its time (E<> and A[]
                           only, exact or packed zones)
  --threads N              explore E<> and A[] properties with N threads
                           (default: one per core); the others, and searches
                           with --reuse, --explore, --trace-kind shortest or
                           fastest, bit-state or hull lists, use one
  --reuse                  continue the stored state space between properties
  --active-clocks          ignore clocks that no longer matter in a location
  --time-limit SECONDS     stop a search after SECONDS (per property); the
                           property is then unknown
  --memory-limit MIB       stop a search when the process holds more than MIB
                           MiB of memory; the property is then unknown

Exploration:
  --explore                explore every reachable state of MODEL (no
                           properties): states explored and stored and the
                           distinct discrete states (locations and integer
                           values); the search options apply
  --dot FILE               with --explore, draw the stored states and the
                           moves that first reached them in FILE (Graphviz
                           dot), for models of at most 1000 stored states;
                           without it, see Report

Description:
  --describe               print the structure of MODEL as one JSON document:
                           its clocks, integers and processes with their
                           locations (invariant, initial, committed, urgent)
                           and edges (guard, synchronisation, updates) in the
                           model's own texts; a model that does not load gives
                           its errors with their lines and columns (status 3)

Report:
  --trace[=symbolic|concrete]
                           print a diagnostic trace where there is one: per
                           step the edges taken and the state reached; the
                           concrete form adds the earliest run along it, the
                           delay before each step and the clock values in
                           each state (exact fractions)
  --dot FILE               write the trace of the last property that has one
                           to FILE as a Graphviz digraph (implies --trace);
                           with --explore, see Exploration
  --zone-format 0|1        zones in traces: 0 every bound, 1 the minimal
                           constraints (default)
  --stats                  states explored and stored, seconds and peak memory,
                           per property and in total
  --format text|json       the report form (default text); json writes one
                           document (schema in the README)
  -h, --help               print this help
  --version                print the version

A progress line is written to standard error during long searches when it is
a terminal.

Exit status:
  0  every property is satisfied
  1  some property is not satisfied
  2  some property is inconclusive (maybe, or a limit stopped its search)
  3  bad input: the command line, the model or a property
  4  internal failure
When several apply, the first of 4, 3, 1, 2 in this order is the status.
)";
}

namespace {

/// The value character of a --order, --representation or similar word.
char pick(const std::string& option, const std::string& value,
          std::initializer_list<const char*> words) {
  char code = '0';
  for (const char* word : words) {
    if (value == word)
      return code;
    ++code;
  }
  std::string message = option + " expects ";
  const char* separator = "";
  for (const char* word : words) {
    message.append(separator).append(word);
    separator = "|";
  }
  throw UsageError(message + ", not '" + value + "'");
}

/// A single digit; the session decides which digits the option accepts.
char digit(const std::string& option, const std::string& value) {
  if (value.size() != 1 || value[0] < '0' || value[0] > '9')
    throw UsageError(option + " expects a digit, not '" + value + "'");
  return value[0];
}

double positive(const std::string& option, const std::string& value) {
  char* end = nullptr;
  errno = 0;
  const double number = std::strtod(value.c_str(), &end);
  if (value.empty() || *end != '\0' || errno != 0 || !std::isfinite(number) || number <= 0)
    throw UsageError(option + " expects a positive number, not '" + value + "'");
  return number;
}

/// Shortest traces come from breadth-first search; fastest ones need exact
/// zones (the session's search order and representation options).
void checkTraceKind(CommandLine& line) {
  for (const CommandLine::SessionOption& option : line.sessionOptions) {
    if (line.traceKind == '1' && option.name == "order" && option.value == '1')
      throw UsageError("--trace-kind shortest searches breadth-first: it excludes --order dfs");
    if (line.traceKind == '2' && option.name == "representation" && option.value > '1')
      throw UsageError("--trace-kind fastest needs --representation exact or packed");
  }
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  std::vector<std::string> files;
  bool optionsEnded = false;
  for (std::size_t k = 0; k < arguments.size(); ++k) {
    std::string option = arguments[k];
    if (optionsEnded || option == "-" || option.empty() || option[0] != '-') {
      files.push_back(option);
      continue;
    }
    if (option == "--") {
      optionsEnded = true;
      continue;
    }
    // "--name=value" and "--name value" mean the same.
    std::string value;
    bool hasValue = false;
    if (const std::size_t equals = option.find('=');
        option.rfind("--", 0) == 0 && equals != std::string::npos) {
      value = option.substr(equals + 1);
      option = option.substr(0, equals);
      hasValue = true;
    }
    const auto flag = [&] {
      if (hasValue)
        throw UsageError(option + " takes no value");
    };
    const auto next = [&]() -> const std::string& {
      if (!hasValue) {
        if (k + 1 >= arguments.size())
          throw UsageError(option + " needs a value");
        value = arguments[++k];
        hasValue = true;
      }
      return value;
    };

    if (option == "-h" || option == "--help") {
      flag();
      line.help = true;
    } else if (option == "--version") {
      flag();
      line.version = true;
    } else if (option == "-e" || option == "--property") {
      line.inlined.push_back(next());
    } else if (option == "--order") {
      line.sessionOptions.push_back({"order", pick(option, next(), {"bfs", "dfs"}), option});
    } else if (option == "--representation") {
      line.sessionOptions.push_back({"representation",
                                     pick(option, next(), {"exact", "packed", "bitstate", "hull"}),
                                     option});
    } else if (option == "--extrapolation") {
      line.sessionOptions.push_back(
          {"extrapolation",
           pick(option, next(), {"global-max", "local-max", "global-lu", "local-lu"}), option});
    } else if (option == "--subsumption") {
      line.sessionOptions.push_back(
          {"subsumption", pick(option, next(), {"inclusion", "lu"}), option});
    } else if (option == "--trace-kind") {
      line.traceKind = pick(option, next(), {"some", "shortest", "fastest"});
    } else if (option == "--reduction") {
      line.sessionOptions.push_back({"reduction", digit(option, next()), option});
    } else if (option == "--zone-format") {
      line.sessionOptions.push_back({"zoneFormat", digit(option, next()), option});
    } else if (option == "--reuse") {
      flag();
      line.sessionOptions.push_back({"reuse", '1', option});
    } else if (option == "--active-clocks") {
      flag();
      line.sessionOptions.push_back({"activeClocks", '1', option});
    } else if (option == "--trace") {
      // A bare --trace is the symbolic trace; the form may follow as the
      // next argument only when it is exactly one of the two words, so that
      // a model file may still come right after --trace.
      if (!hasValue && k + 1 < arguments.size() &&
          (arguments[k + 1] == "symbolic" || arguments[k + 1] == "concrete"))
        next();
      line.trace = true;
      line.concrete = hasValue && pick(option, value, {"symbolic", "concrete"}) == '1';
    } else if (option == "--explore") {
      flag();
      line.explore = true;
    } else if (option == "--describe") {
      flag();
      line.describe = true;
    } else if (option == "--dot") {
      line.dot = next();
      if (line.dot.empty())
        throw UsageError("--dot needs a file name");
    } else if (option == "--stats") {
      flag();
      line.stats = true;
    } else if (option == "--format") {
      line.json = pick(option, next(), {"text", "json"}) == '1';
    } else if (option == "--threads") {
      const double threads = positive(option, next());
      if (threads != double(unsigned(threads)) || threads > 256)
        throw UsageError("--threads takes a whole number from 1 to 256");
      line.threads = unsigned(threads);
    } else if (option == "--time-limit") {
      line.limits.seconds = positive(option, next());
    } else if (option == "--memory-limit") {
      line.limits.mebibytes = positive(option, next());
    } else {
      throw UsageError("unknown option " + option);
    }
  }
  if (line.help || line.version)
    return line;
  if (files.empty())
    throw UsageError("no model given");
  if (files.size() > 2)
    throw UsageError("one model and at most one query file expected");
  line.model = files[0];
  if (files.size() == 2)
    line.queries = files[1];
  if (line.describe && (line.explore || !line.queries.empty() || !line.inlined.empty()))
    throw UsageError("--describe checks no properties: give the model alone");
  if (line.explore && (!line.queries.empty() || !line.inlined.empty()))
    throw UsageError("--explore checks no properties: give the model alone");
  // Without --explore the drawing is of a trace, which must then be kept.
  line.trace = line.trace || (!line.dot.empty() && !line.explore);
  if (line.model == "-" && line.queries == "-")
    throw UsageError("standard input can be read only once");
  checkTraceKind(line);
  // The strongest abstraction by default; the session weakens it for the
  // properties it would not be sound for, and options given override it.
  line.sessionOptions.insert(
      line.sessionOptions.begin(),
      {{"extrapolation", '3', "--extrapolation"}, {"subsumption", '1', "--subsumption"}});
  // Traces are kept by the session when they are printed, and under convex
  // hulls, where a found state's trace is replayed to confirm it.
  bool hull = false;
  for (const CommandLine::SessionOption& option : line.sessionOptions)
    if (option.name == "representation")
      hull = option.value == '3';
  // The drawing's arrows are the moves the trace store records.
  const bool keepTraces = line.trace || hull || !line.dot.empty();
  line.sessionOptions.push_back({"trace", keepTraces ? '1' : '0', "--trace"});
  line.sessionOptions.push_back({"traceKind", line.traceKind, "--trace-kind"});
  return line;
}

} // namespace orvela::verifier
