#include "server/WireFormat.h"

#include "base/Exceptions.h"
#include "dbm/RawBound.h"
#include "model/System.h"
#include "server/Client.h"
#include "server/RequestInput.h"
#include "symbolic/ClockInfo.h"
#include "symbolic/GlobalState.h"
#include "symbolic/IntegerInfo.h"
#include "symbolic/PackData.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace orvela {

namespace {

/// A wire bound from a raw bound and back: the lowest bit inverted.
constexpr int32_t flipStrictness(int32_t bound) { return bound ^ 1; }

void writeNumber(const Client& client, long value) { client.writeLine(std::to_string(value)); }

void writeConstraint(const Client& client, unsigned i, unsigned j, int32_t raw) {
  writeNumber(client, long(i));
  writeNumber(client, long(j));
  writeNumber(client, flipStrictness(raw));
  client.writeLine(".");
}

void writeZone(const Client& client, const UnpackedRegion* zone, ZoneFormat zoneFormat) {
  const unsigned n = zone->getDim();
  if (zoneFormat == ZoneFormat::full) {
    for (unsigned i = 0; i < n; ++i)
      for (unsigned j = 0; j < n; ++j)
        if (!rawIsInfinite(zone->get(i, j)))
          writeConstraint(client, i, j, zone->get(i, j));
    return;
  }
  // Room for the minimal constraints (too large for the stack).
  const std::unique_ptr<PackData> packing = std::make_unique<PackData>();
  PackData& data = *packing;
  zone->pack(&data);
  for (unsigned k = 0; k < n * n; ++k)
    if (data.keep[k])
      writeConstraint(client, k / n, k % n, data.matrix[k]);
}

void expectDot(std::istream& in, const char* message) {
  if (readRequestLine(in) != ".")
    throw ProtocolError("%s", message);
}

/// The zone of a state block: the conjunction of its constraint groups with
/// the bounds every zone has (each clock non-negative, each diagonal entry at
/// most 0). A client may send any bounds: a diagonal or reference-clock bound
/// looser than those, contradicting bounds, bounds near the int32 limits. The
/// matrix is therefore closed here in 64-bit arithmetic, where no sum of
/// client bounds wraps, and only a closed matrix reaches the region.
class ClientZone {
public:
  explicit ClientZone(unsigned dimension) : n_(dimension), m_(std::size_t(n_) * n_, none) {
    for (unsigned k = 0; k < n_; ++k) {
      at(0, k) = rawLessEqualZero;
      at(k, k) = rawLessEqualZero;
    }
  }

  /// Adds the bound `raw` on x_i - x_j; an infinite raw bound adds nothing.
  /// A constant beyond +-`maximalClockConstant` is noted, and refused once
  /// the whole block has been read.
  void constrain(unsigned i, unsigned j, int32_t raw) {
    if (rawIsInfinite(raw))
      return;
    outOfRange_ = outOfRange_ || beyondLimit(raw);
    at(i, j) = std::min(at(i, j), int64_t(raw));
  }

  /// Closes the matrix and copies it into `zone`, a region of the same
  /// dimension as created with initialisation, which is then closed. An empty
  /// zone becomes that region with the reference clock below itself, which
  /// every emptiness test sees and no clock operation repairs. A closed bound
  /// whose constant lies beyond +-`maximalClockConstant` is `ProtocolError`
  /// "Bound out of range in constraint".
  void writeTo(UnpackedRegion& zone) {
    if (outOfRange_)
      throw ProtocolError("Bound out of range in constraint");
    if (!close()) {
      zone.set(0, 0, rawLessEqualZero - 1);
      return;
    }
    for (unsigned i = 0; i < n_; ++i)
      for (unsigned j = 0; j < n_; ++j) {
        const int64_t raw = at(i, j);
        if (raw != none && beyondLimit(raw))
          throw ProtocolError("Bound out of range in constraint");
        zone.set(i, j, raw == none ? rawInfinity : int32_t(raw));
      }
    zone.markClosed();
  }

private:
  static constexpr int64_t none = INT64_MAX;

  int64_t& at(unsigned i, unsigned j) { return m_[std::size_t(i) * n_ + j]; }
  /// The sum of two finite raw bounds: non-strict only if both are.
  static int64_t add(int64_t a, int64_t b) {
    return (a & ~int64_t(1)) + (b & ~int64_t(1)) + (a & b & 1);
  }
  bool negativeCycleAt(unsigned k) { return at(k, k) < rawLessEqualZero; }
  static bool beyondLimit(int64_t raw) {
    return raw >> 1 < -maximalClockConstant || raw >> 1 > maximalClockConstant;
  }

  /// Floyd-Warshall; false as soon as a negative cycle shows the zone empty.
  /// Until then every entry is the weight of a simple path, at most n client
  /// bounds, so no sum comes near the int64 limits.
  bool close() {
    for (unsigned k = 0; k < n_; ++k)
      if (negativeCycleAt(k))
        return false;
    for (unsigned k = 0; k < n_; ++k)
      for (unsigned i = 0; i < n_; ++i) {
        if (at(i, k) == none)
          continue;
        for (unsigned j = 0; j < n_; ++j)
          if (at(k, j) != none)
            at(i, j) = std::min(at(i, j), add(at(i, k), at(k, j)));
        if (negativeCycleAt(i))
          return false;
      }
    return true;
  }

  unsigned n_;
  std::vector<int64_t> m_; ///< raw bounds, row-major; `none` for no bound
  bool outOfRange_ = false;
};

/// The clock index of a constraint on `line`.
unsigned clockIndex(const std::string& line, unsigned dimension) {
  const int index = getInteger(line);
  if (index < 0)
    throw ProtocolError("Bad constraint");
  if (unsigned(index) >= dimension)
    throw ProtocolError("State inconsistent with current system");
  return unsigned(index);
}

} // namespace

void writeGlobalState(const Client& client, const GlobalState* state, ZoneFormat zoneFormat) {
  for (int p = 0; p < state->getProcessCount(); ++p)
    writeNumber(client, state->getLocation(unsigned(p)));
  client.writeLine(".");
  writeZone(client, state->getUnpackedRegion(), zoneFormat);
  client.writeLine(".");
  // Every table of a model holds exactly its declared integers.
  const IntegerTable& table = *state->getIntegerTable();
  for (int k = 0; k < table.getCount(); ++k)
    writeNumber(client, table[k]);
  client.writeLine(".");
}

void write(const Client& client, const Transition* edge) {
  client.writeLine(std::to_string(edge->getProcessIndex()) + " " +
                   std::to_string(edge->getIndex() + 1));
}

void write(const Client& client, const GlobalState* state, const Transition* const* edges,
           ZoneFormat zoneFormat) {
  writeGlobalState(client, state, zoneFormat);
  for (; *edges; ++edges)
    write(client, *edges);
  client.writeLine(".");
}

Pointer<GlobalState> read(std::istream& in, const System& system) {
  const ModelTables& tables = system.tables();
  const unsigned dimension = unsigned(tables.clockCount());
  Pointer<GlobalState> state = GlobalState::create(system.getProcessCount());
  state->setIntegerTable(IntegerTable::create(tables.integers));
  UnpackedRegion* region = UnpackedRegion::create(int(dimension), true);
  state->setRegion(region);

  for (int p = 0; p < system.getProcessCount(); ++p) {
    const int location = getInteger(readRequestLine(in));
    if (location < 0)
      throw ProtocolError("Bad control state");
    if (location >= system.getProcess(p)->getLocationCount())
      throw ProtocolError("State inconsistent with current system");
    state->setLocation(unsigned(p), location);
  }
  expectDot(in, "No terminating . after control state");

  ClientZone zone(dimension);
  for (std::string line = readRequestLine(in); line != "."; line = readRequestLine(in)) {
    const unsigned i = clockIndex(line, dimension);
    const unsigned j = clockIndex(readRequestLine(in), dimension);
    zone.constrain(i, j, flipStrictness(getInteger(readRequestLine(in))));
    expectDot(in, "No terminating . after constraint");
  }

  // A value outside its variable's domain is no state of the model; used as
  // an array index it would reach past the array.
  int* values = state->getIntegerTable()->getValues();
  for (int k = 0; k < tables.realInts; ++k) {
    const IntegerInfo& variable = tables.integers[std::size_t(k)];
    values[k] = getInteger(readRequestLine(in));
    if (values[k] < variable.lower || values[k] > variable.upper)
      throw ProtocolError("State inconsistent with current system");
  }
  expectDot(in, "No terminating . after integer assignment");
  // Checked once the whole block is read, so that a refused zone leaves the
  // next request line where it belongs.
  zone.writeTo(*region);
  return state;
}

const Transition* readTransition(std::istream& in, const System& system) {
  const int process = getInteger(readRequestLine(in));
  const int edge = getInteger(readRequestLine(in));
  if (process < 0 || process >= system.getProcessCount())
    throw ProtocolError("State inconsistent with current system");
  const auto& edges = system.getProcess(process)->getTransitions();
  if (edge < 0 || std::size_t(edge) >= edges.size())
    throw ProtocolError("State inconsistent with current system");
  return edges[std::size_t(edge)].get();
}

namespace {

/// Reads a decimal integer at `cursor` (after blanks, with an optional sign)
/// and moves the cursor past it; false, the cursor unmoved, when there is
/// none or it lies outside the int range.
bool scanInteger(const char*& cursor, int& value) {
  char* end = nullptr;
  errno = 0;
  const long read = std::strtol(cursor, &end, 10);
  if (end == cursor || errno == ERANGE || read < INT_MIN || read > INT_MAX)
    return false;
  cursor = end;
  value = int(read);
  return true;
}

} // namespace

int getInteger(const std::string& line) {
  const char* cursor = line.c_str();
  int value = 0;
  if (!scanInteger(cursor, value))
    throw ProtocolError("Bad integer value");
  return value;
}

bool scanIntegers(const std::string& line, int* values, int count) {
  const char* cursor = line.c_str();
  for (int k = 0; k < count; ++k)
    if (!scanInteger(cursor, values[k]))
      return false;
  return true;
}

} // namespace orvela
