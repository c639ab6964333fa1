#include "language/ParseProperty.h"

#include "language/ErrorReporting.h"
#include "language/PropertyParserState.h"
#include "language/PropertyScanner.h"
#include "language/tctl_parser.h"

#include <sstream>

namespace orvela {

namespace {

// Everything a parse changes outside its own state, put back on leaving,
// also when the scanner throws.
class PropertyScope {
public:
  PropertyScope(std::istream& input, const Pointer<System>& system, std::ostream& errors)
      : state(input, system), previousState_(tctlState), previousErrors_(&errorStream()) {
    setErrorStream(errors);
    resetPropertyScanner();
    tctlState = &state;
  }
  ~PropertyScope() {
    resetPropertyScanner();
    tctlState = previousState_;
    setErrorStream(*previousErrors_);
  }
  PropertyScope(const PropertyScope&) = delete;
  PropertyScope& operator=(const PropertyScope&) = delete;

  PropertyParserState state;

private:
  PropertyParserState* previousState_;
  std::ostream* previousErrors_;
};

} // namespace

ParsedProperty parseProperty(std::istream& in, const Pointer<System>& system, std::ostream& errors,
                             const DeadlockFactory& deadlock) {
  PropertyScope scope(in, system, errors);
  scope.state.deadlock = deadlock;
  ParsedProperty& property = scope.state.property;
  property.result = tctl_parse();
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
