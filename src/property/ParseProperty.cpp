#include "property/ParseProperty.h"

#include "property/PropertyParserState.h"
#include "property/tctl_parser.h"

#include <sstream>

namespace orvela {

ParsedProperty parseProperty(std::istream& in, const Pointer<System>& system,
                             std::ostream& errors) {
  PropertyParserState state(in, system, errors);
  ParsedProperty& property = state.property;
  property.result = tctl_parse(state);
  if (property.result != 0 || property.kind == PropertyKind::quit ||
      property.kind == PropertyKind::none) {
    property.expression = nullptr;
    property.premise = nullptr;
  }
  return property;
}

ParsedProperty parseProperty(std::string_view text, const Pointer<System>& system,
                             std::string* messages) {
  std::istringstream in{std::string(text)};
  std::ostringstream errors;
  ParsedProperty property = parseProperty(in, system, errors);
  if (messages)
    *messages = errors.str();
  return property;
}

} // namespace orvela
