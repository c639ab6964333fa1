#include "language/ParseSystem.h"

#include "language/ErrorReporting.h"
#include "language/ParserState.h"
#include "language/Scanner.h"
#include "language/SymbolTable.h"
#include "language/gta_parser.h"

#include <iostream>
#include <sstream>

namespace orvela {

namespace {

// Everything a parse changes outside its own state, put back on leaving
// unless the parse succeeded.
class LoadScope {
public:
  LoadScope(std::istream& description, std::ostream& errors)
      : savedSymbols_(symbols), previousInput_(gtaInstream), previousErrors_(&errorStream()) {
    symbols.clear();
    setErrorStream(errors);
    gtaInstream = &description;
    line = 1;
    resetScanner();
    gtaState = &state;
  }
  ~LoadScope() {
    resetScanner();
    gtaState = nullptr;
    gtaInstream = previousInput_;
    setErrorStream(*previousErrors_);
    if (!succeeded) {
      symbols = savedSymbols_;
    }
  }
  LoadScope(const LoadScope&) = delete;
  LoadScope& operator=(const LoadScope&) = delete;

  ParserState state;
  bool succeeded = false;

private:
  SymbolTable savedSymbols_;
  std::istream* previousInput_;
  std::ostream* previousErrors_;
};

} // namespace

Pointer<System> parseSystem(std::istream& description, std::ostream& errors) {
  LoadScope scope(description, errors);
  const int result = gta_parse();
  if (result != 0 || scope.state.errorFlag || !scope.state.process.system)
    return nullptr;
  Pointer<System> system = scope.state.process.system;
  system->setTables(std::move(scope.state.tables));
  system->construct();
  system->setEvents(scope.state.events);
  scope.succeeded = true;
  return system;
}

Pointer<System> parseSystem(std::string_view description, std::string* messages) {
  std::istringstream in{std::string(description)};
  std::ostringstream errors;
  Pointer<System> system = parseSystem(in, errors);
  if (messages)
    *messages = errors.str();
  return system;
}

} // namespace orvela
