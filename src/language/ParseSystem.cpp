#include "language/ParseSystem.h"

#include "language/ParserState.h"
#include "language/gta_parser.h"
#include "model/SymbolTable.h"

#include <sstream>

namespace orvela {

Pointer<System> parseSystem(std::istream& description, std::ostream& errors,
                            std::vector<ParseMessage>* messages) {
  ParserState state(description, errors);
  const int result = gta_parse(state);
  if (messages)
    *messages = state.messages;
  if (result != 0 || state.errorFlag || !state.process.system)
    return nullptr;
  Pointer<System> system = state.process.system;
  system->setTables(std::move(state.tables));
  system->setSymbols(std::make_shared<const SymbolTable>(std::move(state.symbols)));
  system->construct();
  system->setEvents(state.events);
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
