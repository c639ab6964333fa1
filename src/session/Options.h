#pragma once
// The search options of a session and the rules by which a client sets them:
// one option name and one value character at a time.

#include "engine/ClockBounds.h"
#include "engine/StorageReduction.h"

#include <string_view>

namespace orvela {

/// The values of "order": the digit 1 is depth-first, any other digit
/// breadth-first.
enum class SearchOrder { breadthFirst = 0, depthFirst = 1 };
/// The values of "representation", by their digits.
enum class Representation { exact = 0, packed = 1, bitState = 2, convexHull = 3 };
/// The values of "zoneFormat", by their digits: how a state's zone is written.
enum class ZoneFormat {
  full = 0,   ///< every finite entry of the matrix
  minimal = 1 ///< the minimal constraints only
};

/// The values of "traceKind", by their digits: which trace a reachability
/// check looks for.
enum class TraceKind {
  some = 0,     ///< the first one the search meets
  shortest = 1, ///< the fewest steps: the search runs breadth-first
  fastest = 2   ///< the least total delay (E<> and A[] over exact or packed zones)
};

/// Every option, named like its option, with its initial value.
struct SearchOptions {
  SearchOrder order = SearchOrder::breadthFirst;
  /// "reduction": the digit is the enumerator's number.
  StorageReduction reduction = StorageReduction::dropUnnecessaryCommitted;
  Representation representation = Representation::exact;
  bool reuse = false;        ///< "reuse": continue on the stored state space between checks
  bool activeClocks = false; ///< "activeClocks": active-clock reduction
  bool trace = false;        ///< "trace": keep predecessors and write traces
  bool normalise = false;    ///< "normalise": normalise in the simulation pipeline
  ZoneFormat zoneFormat = ZoneFormat::minimal;
  bool storeFlag = false; ///< "storeFlag": successor blocks say whether a search keeps the state
  /// "extrapolation": how zones are widened, by the digit of the enumerator;
  /// a property for which a choice is unsound gets a weaker one.
  Extrapolation extrapolation = Extrapolation::globalMax;
  /// "subsumption": how the passed list compares zones, by the digit.
  Subsumption subsumption = Subsumption::inclusion;
  /// "traceKind": the trace of a found state, by the digit.
  TraceKind traceKind = TraceKind::some;
  /// "threads": the threads that explore an E<> or A[] check (see
  /// `PropertyChecker`), by the digit; 0 means one per core of the machine.
  unsigned threads = 1;
  /// Derived from `representation`: the search explores fewer states than
  /// exist (bit-state hashing) ...
  bool underapproximation = false;
  /// ... or more (convex hull).
  bool overapproximation = false;
};

/// The threads `options.threads` stands for: itself, or for 0 one per core
/// of the machine (at least 1).
unsigned threadCount(const SearchOptions& options);

/// Buckets of the hashed passed lists, and bits of the bit-state list.
constexpr unsigned pastSize = 17609;
constexpr unsigned bitpastsize = 8388593;
/// Buckets of each partition of a parallel search's list: the partitions
/// together have more buckets than the sequential list.
constexpr unsigned partitionBuckets = 1109;
/// Buckets of the bit-state list's waiting states.
constexpr unsigned bitStateBuckets = 1009;
/// Buckets of the path index of a liveness search.
constexpr int frontBuckets = 1009;

/// "1" or "T" is true, "0" or "F" false; anything else throws `ProtocolError`
/// "Protocol violation: T, F, 0 or 1 expected".
bool getBool(char value);
/// The value of a decimal digit; other characters give values outside 0..9.
int getInt(char value);

/// What setting an option did.
enum class OptionEffect {
  ignored,          ///< not an option name
  kept,             ///< set; the stored state space stays valid
  stateSpaceEmptied ///< set; the stored state space must be rebuilt
};

/// Applies the value character `value` to the option `name`. A value that is
/// rejected (a bad boolean, an invalid reduction, representation, zone
/// format, extrapolation, subsumption or trace kind) throws `ProtocolError` with its message and
/// leaves every option as it was. Unknown names are ignored. "trace" empties the state space on
/// every setting, the other options only when their value changes; "normalise", "zoneFormat" and
/// "storeFlag" never do.
OptionEffect applyOption(SearchOptions& options, std::string_view name, char value);

/// Splits an option line into its name (up to the first blank) and its value
/// character (the first after the blanks that follow). Throws `ProtocolError`
/// "Syntax error" when no value follows (a name alone, an empty line).
std::pair<std::string_view, char> splitOptionLine(std::string_view line);

} // namespace orvela
