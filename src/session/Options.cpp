#include "session/Options.h"

#include "base/Exceptions.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace orvela {

bool getBool(char value) {
  switch (value) {
  case '1':
  case 'T':
    return true;
  case '0':
  case 'F':
    return false;
  default:
    throw ProtocolError("Protocol violation: T, F, 0 or 1 expected");
  }
}

int getInt(char value) { return value - '0'; }

unsigned threadCount(const SearchOptions& options) {
  return options.threads ? options.threads : std::max(1u, std::thread::hardware_concurrency());
}

namespace {

/// Stores `value` in `option`; true if it changed.
template <class T> bool change(T& option, T value) {
  if (option == value)
    return false;
  option = value;
  return true;
}

/// The digit `value` when it lies in 0..last; otherwise throws `ProtocolError`
/// with `message`.
int digitUpTo(char value, int last, const char* message) {
  const int digit = getInt(value);
  if (digit < 0 || digit > last)
    throw ProtocolError("%s", message);
  return digit;
}

OptionEffect emptiedIf(bool changed) {
  return changed ? OptionEffect::stateSpaceEmptied : OptionEffect::kept;
}

} // namespace

OptionEffect applyOption(SearchOptions& options, std::string_view name, char value) {
  if (name == "order")
    return emptiedIf(change(options.order, getInt(value) == 1 ? SearchOrder::depthFirst
                                                              : SearchOrder::breadthFirst));
  if (name == "reduction")
    return emptiedIf(
        change(options.reduction, StorageReduction(digitUpTo(value, 2, "Invalid reduction"))));
  if (name == "representation") {
    const int representation = getInt(value);
    if (representation < 0 || representation > 3)
      throw ProtocolError("Invalid representation");
    if (!change(options.representation, Representation(representation)))
      return OptionEffect::kept;
    options.underapproximation = options.representation == Representation::bitState;
    options.overapproximation = options.representation == Representation::convexHull;
    return OptionEffect::stateSpaceEmptied;
  }
  if (name == "extrapolation")
    return emptiedIf(
        change(options.extrapolation, Extrapolation(digitUpTo(value, 3, "Invalid extrapolation"))));
  if (name == "subsumption")
    return emptiedIf(
        change(options.subsumption, Subsumption(digitUpTo(value, 1, "Invalid subsumption"))));
  if (name == "traceKind")
    return emptiedIf(
        change(options.traceKind, TraceKind(digitUpTo(value, 2, "Invalid trace kind"))));
  if (name == "threads") {
    options.threads = unsigned(digitUpTo(value, 9, "Invalid thread count"));
    return OptionEffect::kept;
  }
  if (name == "reuse")
    return emptiedIf(change(options.reuse, getBool(value)));
  if (name == "activeClocks")
    return emptiedIf(change(options.activeClocks, getBool(value)));
  if (name == "trace") {
    options.trace = getBool(value);
    return OptionEffect::stateSpaceEmptied;
  }
  if (name == "normalise") {
    options.normalise = getBool(value);
    return OptionEffect::kept;
  }
  if (name == "zoneFormat") {
    const int format = getInt(value);
    if (format != 0 && format != 1)
      throw ProtocolError("Invalid zone format");
    options.zoneFormat = ZoneFormat(format);
    return OptionEffect::kept;
  }
  if (name == "storeFlag") {
    options.storeFlag = getBool(value);
    return OptionEffect::kept;
  }
  return OptionEffect::ignored;
}

std::pair<std::string_view, char> splitOptionLine(std::string_view line) {
  auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  std::size_t end = 0;
  while (end < line.size() && !isBlank(line[end]))
    ++end;
  std::size_t value = end;
  while (value < line.size() && isBlank(line[value]))
    ++value;
  if (value == line.size())
    throw ProtocolError("Syntax error");
  return {line.substr(0, end), line[value]};
}

} // namespace orvela
