#include "language/PropertyScanner.h"

#include "language/PropertyParserState.h"
#include "language/Scanner.h"
#include "language/SymbolTable.h"
#include "language/tctl_parser.h"

#include <cstring>
#include <string>

namespace orvela {

namespace {

PropertyParserState& state() {
  assert(tctlState && "property scanned outside a parse");
  return *tctlState;
}

// A name found in the symbol table: clocks and clock arrays are clocks,
// everything else is left to the grammar to accept or refuse.
int classify(const Symbol& symbol) {
  tctl_lval.symbol = &symbol;
  const bool clock = symbols.elementOf(symbol).type == clockSymbol;
  return propertyToken(clock ? TCTL_CLOCK : TCTL_VARIABLE);
}

} // namespace

int readPropertyInput(char* buffer, int max) {
  return interactiveLexInput(&state().input, buffer, max);
}

int propertyToken(int code) {
  state().tokenScanned = true;
  return code;
}

int scanPropertyName(const char* text) {
  // Properties see the global names; a process's own names are reached
  // through P.n.
  const Symbol& symbol = symbols.findGlobalSymbol(text);
  if (!symbol.found())
    return propertyToken(TCTL_BAD_TOKEN);
  return classify(symbol);
}

int scanLocationReference(const char* text) {
  const char* dot = std::strchr(text, '.');
  const std::string owner(text, dot);
  const Symbol& process = symbols.findGlobalSymbol(owner.c_str());
  // The position in the system line is what a state's location vector is
  // indexed by; a process block that the system line leaves out has none.
  const unsigned int position = static_cast<unsigned int>(process.data) >> 16;
  if (process.type != processSymbol || position == 0xffffu) {
    const std::string message = owner + ": no such process";
    tctl_error(message.c_str());
    return propertyToken(TCTL_BAD_TOKEN);
  }
  const int frame = process.data & 0xffff;
  const Symbol& symbol = symbols.findSymbolInFrame(dot + 1, frame);
  if (!symbol.found())
    return propertyToken(TCTL_BAD_TOKEN);
  if (symbol.type == locationSymbol) {
    tctl_lval.number = static_cast<int>((position << 16) | static_cast<unsigned int>(symbol.data));
    return propertyToken(TCTL_LOCATION);
  }
  return classify(symbol);
}

int scanPropertyNumber(const char* text) {
  if (decimalValue(text, tctl_lval.number))
    return propertyToken(TCTL_NUMBER);
  state().lastReason = "number too large";
  return propertyToken(TCTL_BAD_TOKEN);
}

int endOfPropertyInput() {
  // Only an input that ends before the property begins is the end of input;
  // otherwise the end closes the property like a newline.
  return state().tokenScanned ? 0 : propertyToken(TCTL_END_OF_INPUT);
}

} // namespace orvela
