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
  if (!quiet_)
    note(focusLine_, focusColumn_, reason);
  error(reason);
  return false;
}

void PropertyParserState::note(int atLine, int atColumn, const std::string& reason) {
  messages.push_back({atLine, atColumn, reason});
}

void PropertyParserState::focusOn(int atLine, int atColumn, bool recovering) {
  focusLine_ = atLine;
  focusColumn_ = atColumn;
  quiet_ = recovering;
}

void PropertyParserState::advance(const char* text, int length, int& firstLine, int& firstColumn,
                                  int& lastLine, int& lastColumn) {
  firstLine = line;
  firstColumn = column;
  matched.assign(text, static_cast<std::size_t>(length));
  for (int k = 0; k < length; ++k) {
    lastLine = line;
    lastColumn = column;
    if (text[k] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
}

} // namespace orvela
