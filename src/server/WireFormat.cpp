#include "server/WireFormat.h"

#include "model/ClockInfo.h"
#include "model/IntegerInfo.h"
#include "model/System.h"
#include "server/Client.h"
#include "server/RequestInput.h"
#include "server/base/Exceptions.h"
#include "symbolic/GlobalState.h"
#include "symbolic/PackData.h"
#include "symbolic/ScratchRegion.h"
#include "symbolic/dbm/RawBound.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

namespace orvela {

namespace {

/// A wire bound from a raw bound and back: the lowest bit inverted.
constexpr int32_t flipStrictness(int32_t bound) { return bound ^ 1; }

void writeNumber(long value) { writeLine(std::to_string(value)); }

void writeConstraint(unsigned i, unsigned j, int32_t raw) {
  writeNumber(long(i));
  writeNumber(long(j));
  writeNumber(flipStrictness(raw));
  writeLine(".");
}

/// Room for the minimal constraints of one zone (too large for the stack).
PackData& packing() {
  static const std::unique_ptr<PackData> data = std::make_unique<PackData>();
  return *data;
}

void writeZone(const UnpackedRegion* zone, int zoneFormat) {
  const unsigned n = zone->getDim();
  if (zoneFormat == fullZoneFormat) {
    for (unsigned i = 0; i < n; ++i)
      for (unsigned j = 0; j < n; ++j)
        if (!rawIsInfinite(zone->get(i, j)))
          writeConstraint(i, j, zone->get(i, j));
    return;
  }
  PackData& data = packing();
  zone->pack(&data);
  for (unsigned k = 0; k < n * n; ++k)
    if (data.keep[k])
      writeConstraint(k / n, k % n, data.matrix[k]);
}

std::string readLine() { return readRequestLine(); }

void expectDot(const char* message) {
  if (readLine() != ".")
    throw ProtocolError("%s", message);
}

/// The raw bound of the wire bound on `line`. Its constant must be one a zone
/// can hold: a larger one would be taken for no bound, or wrap in closure.
int32_t rawBoundOf(const std::string& line) {
  const int32_t raw = flipStrictness(getInteger(line));
  if (rawConstant(raw) < -maximalClockConstant || rawConstant(raw) > maximalClockConstant)
    throw ProtocolError("Bound out of range in constraint");
  return raw;
}

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

void writeGlobalState(const GlobalState* state, int zoneFormat) {
  if (zoneFormat != fullZoneFormat && zoneFormat != minimalZoneFormat)
    throw Bug("Invalid zone format");
  for (int p = 0; p < state->getProcessCount(); ++p)
    writeNumber(state->getLocation(unsigned(p)));
  writeLine(".");
  const Region* region = state->getRegion();
  if (region->isPacked()) {
    ScratchRegion zone(region->getDim(), false);
    region->unpackTo(zone.get());
    writeZone(zone.get(), zoneFormat);
  } else {
    writeZone(state->getUnpackedRegion(), zoneFormat);
  }
  writeLine(".");
  const int* values = state->getIntegerTable()->getValues();
  for (int k = 0; k < IntegerInfo::realInts; ++k)
    writeNumber(values[k]);
  writeLine(".");
}

void write(const Transition* edge) {
  writeLine(std::to_string(edge->getProcessIndex()) + " " + std::to_string(edge->getIndex() + 1));
}

void write(const GlobalState* state, const Transition* const* edges, int zoneFormat) {
  writeGlobalState(state, zoneFormat);
  for (; *edges; ++edges)
    write(*edges);
  writeLine(".");
}

Pointer<GlobalState> read(const System& system) {
  const unsigned dimension = unsigned(ClockInfo::clocks.size());
  Pointer<GlobalState> state = GlobalState::create(system.getProcessCount());
  state->setIntegerTable(IntegerTable::create(int(IntegerInfo::integers.size()), true));
  UnpackedRegion* zone = UnpackedRegion::create(int(dimension), true);
  state->setRegion(zone);

  for (int p = 0; p < system.getProcessCount(); ++p) {
    const int location = getInteger(readLine());
    if (location < 0)
      throw ProtocolError("Bad control state");
    if (location >= system.getProcess(p)->getLocationCount())
      throw ProtocolError("State inconsistent with current system");
    state->setLocation(unsigned(p), location);
  }
  expectDot("No terminating . after control state");

  for (std::string line = readLine(); line != "."; line = readLine()) {
    const unsigned i = clockIndex(line, dimension);
    const unsigned j = clockIndex(readLine(), dimension);
    zone->set(i, j, rawBoundOf(readLine()));
    zone->touch(i);
    zone->touch(j);
    expectDot("No terminating . after constraint");
  }
  zone->close();

  // A value outside its variable's domain is no state of the model; used as
  // an array index it would reach past the array.
  int* values = state->getIntegerTable()->getValues();
  for (int k = 0; k < IntegerInfo::realInts; ++k) {
    const IntegerInfo& variable = IntegerInfo::integers[std::size_t(k)];
    values[k] = getInteger(readLine());
    if (values[k] < variable.lower || values[k] > variable.upper)
      throw ProtocolError("State inconsistent with current system");
  }
  expectDot("No terminating . after integer assignment");
  return state;
}

const Transition* readTransition(const System& system) {
  const int process = getInteger(readLine());
  const int edge = getInteger(readLine());
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
