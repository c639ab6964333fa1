#include "language/ParseProperty.h"

#include "language/PropertyParserState.h"
#include "language/tctl_parser.h"

#include <sstream>

namespace orvela {

ParsedProperty parseProperty(std::istream& in, const Pointer<System>& system, std::ostream& errors,
                             const DeadlockFactory& deadlock) {
  PropertyParserState state(in, system, errors);
  state.deadlock = deadlock;
  ParsedProperty& property = state.property;
  property.result = tctl_parse(state);
  property.messages = state.messages;
  if (property.result != 0 || property.kind == PropertyKind::quit ||
      property.kind == PropertyKind::none) {
    property.expression = nullptr;
    property.premise = nullptr;
  }
  return property;
}

ParsedProperty parseProperty(std::string_view text, const Pointer<System>& system,
                             std::string* messages, const DeadlockFactory& deadlock) {
  std::istringstream in{std::string(text)};
  std::ostringstream errors;
  ParsedProperty property = parseProperty(in, system, errors, deadlock);
  if (messages)
    *messages = errors.str();
  return property;
}

} // namespace orvela
