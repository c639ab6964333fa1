#include "language/PropertyParserState.h"

#include "language/PropertyScanner.h"
#include "model/SymbolTable.h"

#include <ostream>

namespace orvela {

namespace {

// The tables of `system`; without a system, those of an empty model.
const ModelTables& tablesOf(const Pointer<System>& system) {
  static const ModelTables none;
  return system ? system->tables() : none;
}

// The names of `system`; without a system or its names, none.
const SymbolTable& symbolsOf(const Pointer<System>& system) {
  static const SymbolTable none(symbolTypeCount);
  return system && system->symbols() ? *system->symbols() : none;
}

} // namespace

PropertyParserState::PropertyParserState(std::istream& input, const Pointer<System>& system,
                                         std::ostream& errors)
    : arena(tablesOf(system), symbolsOf(system)), input(input), errors(errors), system(system),
      build(*this) {
  scanner = startPropertyScanner(*this);
}

PropertyParserState::~PropertyParserState() { stopPropertyScanner(scanner); }

void PropertyParserState::error(const char*) { errors << "Bad property\n"; }

bool PropertyParserState::semanticError(const char* reason) {
  lastReason = reason;
  error(reason);
  return false;
}

} // namespace orvela
