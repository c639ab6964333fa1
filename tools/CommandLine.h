#pragma once
// The command line of the verifier: which model, which properties, the
// search options (set on the session by their protocol names), the limits and
// the form of the report.

#include "engine/SearchWatch.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace orvela::verifier {

/// A command line that cannot be followed; the message says why.
class UsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct CommandLine {
  std::string model;                ///< a file name, or "-" for standard input
  std::string queries;              ///< a query file, "-", or empty for none
  std::vector<std::string> inlined; ///< the -e properties, in order
  /// A session option: its name and value character, and the command-line
  /// option that asked for it.
  struct SessionOption {
    std::string name;
    char value;
    std::string flag;
  };
  /// The session options, in the order given.
  std::vector<SessionOption> sessionOptions;
  SearchLimits limits;
  /// --trace-kind: the value character of the session's "traceKind"
  /// ('0' some, '1' shortest, '2' fastest).
  char traceKind = '0';
  /// --threads: the threads of E<> and A[] checks; 0, the default, one per
  /// core of the machine.
  unsigned threads = 0;
  bool explore = false; ///< --explore: count the reachable states, no properties
  /// --describe: print the model's processes, locations and edges as JSON
  bool describe = false;
  bool json = false;    ///< --format json
  bool stats = false;   ///< --stats (the JSON document always has them)
  bool trace = false;   ///< --trace
  bool help = false;    ///< --help: print `helpText` and do nothing else
  bool version = false; ///< --version: print the version line and do nothing else

  /// --trace=concrete: traces with the earliest concrete run along them.
  bool concrete = false;
  /// --dot FILE: where the Graphviz digraph goes, of the explored states with
  /// --explore, otherwise of the last trace (and `trace` is set); empty for
  /// none.
  std::string dot;
};

/// Reads the arguments after the program name. Throws `UsageError` for an
/// unknown option, a missing or malformed value, a missing model, more than
/// two file arguments, or standard input named twice.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

/// What --help prints: every option, the exit codes.
const char* helpText();

} // namespace orvela::verifier
