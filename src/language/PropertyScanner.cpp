#include "language/PropertyScanner.h"

#include "language/ErrorReporting.h"
#include "language/PropertyParserState.h"
#include "language/Scanner.h"
#include "language/tctl_parser.h"
#include "model/SymbolTable.h"

#include <cstring>
#include <string>

namespace orvela {

namespace {

// A name found in the symbol table: clocks and clock arrays are clocks,
// everything else is left to the grammar to accept or refuse.
int classify(const PropertyScanTarget& token, const Symbol& symbol) {
  token.value.symbol = &symbol;
  const bool clock = token.state.arena.symbols().elementOf(symbol).type == clockSymbol;
  return propertyToken(token.state, clock ? TCTL_CLOCK : TCTL_VARIABLE);
}

// A token the grammar has no rule for, noted with the reason where it
// starts: the syntax error that follows adds nothing.
int markBad(const PropertyScanTarget& token, const std::string& reason) {
  token.state.note(token.location.first_line, token.location.first_column, reason);
  return propertyToken(token.state, TCTL_BAD_TOKEN);
}

} // namespace

int readPropertyInput(PropertyParserState& state, char* buffer, int max) {
  return interactiveLexInput(&state.input, buffer, max);
}

int propertyToken(PropertyParserState& state, int code) {
  state.tokenScanned = true;
  return code;
}

int scanPropertyName(const PropertyScanTarget& token, const char* text) {
  // Properties see the global names; a process's own names are reached
  // through P.n.
  const SymbolTable& symbols = token.state.arena.symbols();
  const Symbol& symbol = symbols.findGlobalSymbol(text);
  if (!symbol.found()) {
    const std::vector<std::string> values = namesOf(symbols, {0}, [&](const Symbol& declared) {
      const int type = symbols.elementOf(declared).type;
      return type == integerSymbol || type == constantSymbol || type == clockSymbol;
    });
    return markBad(token,
                   "undeclared identifier '" + std::string(text) + "'" + suggestion(text, values));
  }
  return classify(token, symbol);
}

int scanLocationReference(const PropertyScanTarget& token, const char* text) {
  const SymbolTable& symbols = token.state.arena.symbols();
  // The owner of P(args).n ends at the parenthesis, whatever the arguments
  // hold; blanks between the arguments are not part of the instance's name.
  const char* close = std::strrchr(text, ')');
  const char* dot = std::strchr(close ? close : text, '.');
  std::string owner;
  for (const char* c = text; c != dot; ++c)
    if (*c != ' ' && *c != '\t')
      owner += *c;
  const Symbol& process = symbols.findGlobalSymbol(owner.c_str());
  // The position in the system line is what a state's location vector is
  // indexed by; a process block that the system line leaves out has none.
  const unsigned int position = static_cast<unsigned int>(process.data) >> 16;
  if (process.type != processSymbol || position == 0xffffu) {
    token.state.error("no such process");
    const std::vector<std::string> running = namesOf(symbols, {0}, [](const Symbol& declared) {
      return declared.type == processSymbol &&
             static_cast<unsigned int>(declared.data) >> 16 != 0xffffu;
    });
    return markBad(token, "unknown process '" + owner + "'" + suggestion(owner, running));
  }
  const unsigned int frame = process.data & 0xffff;
  const Symbol& symbol = symbols.findSymbolInFrame(dot + 1, static_cast<int>(frame));
  if (!symbol.found()) {
    const std::vector<std::string> own = namesOf(
        symbols, {frame}, [](const Symbol& declared) { return declared.type == locationSymbol; });
    return markBad(token, "unknown location '" + std::string(dot + 1) + "' of process " + owner +
                              suggestion(dot + 1, own));
  }
  if (symbol.type == locationSymbol) {
    token.value.number =
        static_cast<int>((position << 16) | static_cast<unsigned int>(symbol.data));
    return propertyToken(token.state, TCTL_LOCATION);
  }
  return classify(token, symbol);
}

int scanPropertyNumber(const PropertyScanTarget& token, const char* text) {
  if (decimalValue(text, token.value.number))
    return propertyToken(token.state, TCTL_NUMBER);
  markBad(token, "number too large");
  return propertyToken(token.state, TCTL_BAD_TOKEN);
}

int scanPropertyUnknown(const PropertyScanTarget& token, const char* text) {
  return markBad(token, "unknown symbol '" + std::string(text) + "'");
}

int endOfPropertyInput(PropertyParserState& state) {
  // Only an input that ends before the property begins is the end of input;
  // otherwise the end closes the property like a newline.
  return state.tokenScanned ? 0 : propertyToken(state, TCTL_END_OF_INPUT);
}

} // namespace orvela
