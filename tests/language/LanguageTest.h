#pragma once
// Helpers of the language tests: the real scanner run over a text, and the
// whole parser run over small descriptions.

#include "language/ParseSystem.h"
#include "language/ParserState.h"
#include "language/Scanner.h"
#include "language/gta_parser.h"
#include "model/SymbolTable.h"
#include "model/System.h"

#include <sstream>
#include <string>
#include <vector>

namespace orvela::test {

/// A token with its name (new names) or symbol name (classified names).
struct ScannedToken {
  int code;
  std::string name;
  bool operator==(const ScannedToken&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const ScannedToken& token) {
  return out << token.code << ':' << token.name;
}

/// Every token of `text`, scanned against `symbols`; the scanner's messages
/// go to `messages` when given.
inline std::vector<ScannedToken> scanText(const std::string& text, const SymbolTable& symbols,
                                          std::string* messages = nullptr) {
  std::istringstream in(text);
  std::ostringstream errors;
  ParserState state(in, errors);
  state.symbols = symbols;
  std::vector<ScannedToken> tokens;
  GTA_STYPE value;
  TokenSpan location;
  for (int code; (code = gta_lex(&value, &location, state)) != 0;) {
    std::string name;
    if (code == NEW_NAME)
      name = value.name;
    else if (code == CLOCK_NAME || code == SYMBOL_NAME || code == QUALIFIED_CLOCK_NAME ||
             code == QUALIFIED_SYMBOL_NAME)
      name = value.symbol->name;
    else if (code == NUMBER)
      name = std::to_string(value.number);
    tokens.push_back({code, name});
  }
  if (messages)
    *messages = errors.str();
  return tokens;
}

/// The outcome of parsing a description.
struct Parsed {
  Pointer<System> system;
  std::string messages;
};

inline Parsed parse(const std::string& text) {
  Parsed parsed;
  parsed.system = parseSystem(text, &parsed.messages);
  return parsed;
}

/// `declarations` followed by a process P with one location and the system
/// line.
inline std::string withProcess(const std::string& declarations) {
  return declarations + "\nprocess P { state s; init s; }\nsystem P;";
}

/// Edge `index` of process `process` of a parsed system.
inline const Transition& edgeOf(const Parsed& parsed, int process, int index) {
  return *parsed.system->getProcess(process)->getTransitions().at(static_cast<std::size_t>(index));
}

/// The value of constant `name` after parsing `declarations` (with a
/// minimal process); the messages of a failed parse otherwise.
inline std::string constantValue(const std::string& declarations, const char* name) {
  Parsed parsed = parse(withProcess(declarations));
  if (!parsed.system)
    return parsed.messages;
  return std::to_string(parsed.system->symbols()->getData(name));
}

} // namespace orvela::test
