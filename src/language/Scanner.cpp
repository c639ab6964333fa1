#include "language/Scanner.h"

#include "base/Exceptions.h"
#include "language/ErrorReporting.h"
#include "language/ParserState.h"
#include "language/gta_parser.h"
#include "model/SymbolTable.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <string>
#include <unistd.h>

namespace orvela {

namespace {

void checkStream(const std::istream* in) {
  if (in->bad())
    throw RuntimeError("LEX: input failed in scanner");
}

// The significant part of a name: at most 63 characters, reported when cut.
std::string significantName(ParserState& state, std::string_view text) {
  constexpr std::size_t significant = Symbol::nameSize - 1;
  if (text.size() <= significant)
    return std::string(text);
  state.error("Identifier truncated");
  return std::string(text.substr(0, significant));
}

int classify(const ScanTarget& token, const Symbol& symbol, const std::string& name,
             const char* spelling, bool qualified) {
  if (!symbol.found()) {
    if (qualified)
      return scannedToken(token, BAD_TOKEN, spelling);
    token.value.name = token.state.arena.string(name);
    return scannedToken(token, NEW_NAME, spelling);
  }
  token.value.symbol = &symbol;
  const bool clock = token.state.symbols.elementOf(symbol).type == clockSymbol;
  if (qualified)
    return scannedToken(token, clock ? QUALIFIED_CLOCK_NAME : QUALIFIED_SYMBOL_NAME, spelling);
  return scannedToken(token, clock ? CLOCK_NAME : SYMBOL_NAME, spelling);
}

} // namespace

int interactiveLexInput(std::istream* in, char* buffer, int max) {
  if (in->eof())
    return 0;
  int count = 0;
  while (count < max) {
    const int c = in->get();
    if (c == std::char_traits<char>::eof())
      break;
    buffer[count++] = static_cast<char>(c);
    if (c == '\n')
      break;
  }
  checkStream(in);
  return count;
}

// The scanner may ask for a single character when a long token nearly fills
// its buffer: every request is filled as far as it goes, since an empty
// answer would read as the end of the input.
int nonInteractiveLexInput(std::istream* in, char* buffer, int max) {
  if (in->eof())
    return 0;
  in->read(buffer, max);
  checkStream(in);
  return static_cast<int>(in->gcount());
}

void* scannerAllocate(std::size_t bytes) {
  void* memory = std::malloc(bytes);
  if (!memory && bytes)
    throw std::bad_alloc();
  return memory;
}

void* scannerReallocate(void* memory, std::size_t bytes) {
  void* moved = std::realloc(memory, bytes);
  if (!moved && bytes)
    throw std::bad_alloc();
  return moved;
}

void scannerFree(void* memory) { std::free(memory); }

int readLexInput(ParserState& state, char* buffer, int max) {
  static const bool interactive = isatty(STDIN_FILENO) != 0;
  return interactive ? interactiveLexInput(&state.input, buffer, max)
                     : nonInteractiveLexInput(&state.input, buffer, max);
}

int scannedToken(const ScanTarget& token, int code, const char* spelling) {
  const int index = token.state.logToken(spelling);
  token.location = {index, index};
  return code;
}

bool captureRequested(const ParserState& state) { return state.capture.close != 0; }

bool captureBracket(ParserState& state, char bracket) {
  Capture& capture = state.capture;
  const char open = capture.close == '}' ? '{' : '(';
  if (bracket == capture.close && capture.depth == 0) {
    capture.close = 0;
    return true;
  }
  capture.depth += (bracket == open) - (bracket == capture.close);
  capture.text += bracket;
  return false;
}

void captureText(ParserState& state, const char* text) { state.capture.text += text; }

int capturedText(const ScanTarget& token) { return scannedToken(token, CAPTURED_TEXT, ""); }

int scanName(const ScanTarget& token, const char* text) {
  const std::string name = significantName(token.state, text);
  return classify(token, token.state.symbols.findSymbol(name.c_str()), name, text, false);
}

int scanQualifiedName(const ScanTarget& token, const char* text) {
  const SymbolTable& symbols = token.state.symbols;
  const char* dot = std::strchr(text, '.');
  const std::string owner = significantName(token.state, std::string_view(text, dot - text));
  const std::string name = significantName(token.state, dot + 1);
  if (owner == "global") {
    const Symbol& global = symbols.findGlobalSymbol(name.c_str());
    if (!global.found())
      token.state.error(
          ("undeclared global name '" + name + "'" +
           suggestion(name, namesOf(symbols, {0}, [](const Symbol&) { return true; })))
              .c_str());
    return classify(token, global, name, text, true);
  }
  const Symbol& process = symbols.findSymbol(owner.c_str());
  if (process.type != processSymbol) {
    const std::string message = "unknown process '" + owner + "'" +
                                suggestion(owner, namesOf(symbols, {0}, [](const Symbol& symbol) {
                                             return symbol.type == processSymbol;
                                           }));
    token.state.error(message.c_str());
    return scannedToken(token, BAD_TOKEN, text);
  }
  // A qualified name denotes the process's own name, never one that the
  // process merely sees.
  const unsigned int frame = process.data & 0xffff;
  const Symbol& member = symbols.findSymbolInFrame(name.c_str(), static_cast<int>(frame));
  if (!member.found()) {
    const std::string message =
        "unknown name '" + name + "' of process " + owner +
        suggestion(name, namesOf(symbols, {frame}, [](const Symbol&) { return true; }));
    token.state.error(message.c_str());
  }
  return classify(token, member, name, text, true);
}

int scanUnknown(const ScanTarget& token, const char* text) {
  const std::string message = std::string("Unknown symbol '") + text + "'";
  token.state.error(message.c_str());
  return scannedToken(token, BAD_TOKEN, text);
}

bool decimalValue(const char* digits, int& value) {
  int64_t exact = 0;
  for (const char* digit = digits; *digit; ++digit) {
    exact = exact * 10 + (*digit - '0');
    if (exact > INT_MAX)
      return false;
  }
  value = static_cast<int>(exact);
  return true;
}

int scanNumber(const ScanTarget& token, const char* text) {
  if (decimalValue(text, token.value.number))
    return scannedToken(token, NUMBER, text);
  token.state.error("Number too large.");
  return scannedToken(token, BAD_TOKEN, text);
}

} // namespace orvela
