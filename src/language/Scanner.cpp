#include "language/Scanner.h"

#include "base/Exceptions.h"
#include "language/ErrorReporting.h"
#include "language/ParserState.h"
#include "language/SymbolTable.h"
#include "language/gta_parser.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <string>
#include <unistd.h>

namespace orvela {

std::istream* gtaInstream = &std::cin;

namespace {

void checkStream(const std::istream* in) {
  if (in->bad())
    throw RuntimeError("LEX: input failed in scanner");
}

// The significant part of a name: at most 63 characters, reported when cut.
std::string significantName(std::string_view text) {
  constexpr std::size_t significant = Symbol::nameSize - 1;
  if (text.size() <= significant)
    return std::string(text);
  gta_error("Identifier truncated");
  return std::string(text.substr(0, significant));
}

int classify(const Symbol& symbol, const std::string& name, const char* spelling, bool qualified) {
  if (!symbol.found()) {
    if (qualified)
      return scannedToken(BAD_TOKEN, spelling);
    gta_lval.name = ParseArena::current().string(name);
    return scannedToken(NEW_NAME, spelling);
  }
  gta_lval.symbol = &symbol;
  const bool clock = symbols.elementOf(symbol).type == clockSymbol;
  if (qualified)
    return scannedToken(clock ? QUALIFIED_CLOCK_NAME : QUALIFIED_SYMBOL_NAME, spelling);
  return scannedToken(clock ? CLOCK_NAME : SYMBOL_NAME, spelling);
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

int readLexInput(char* buffer, int max) {
  static const bool interactive = isatty(STDIN_FILENO) != 0;
  return interactive ? interactiveLexInput(gtaInstream, buffer, max)
                     : nonInteractiveLexInput(gtaInstream, buffer, max);
}

int scannedToken(int code, const char* spelling) {
  assert(gtaState && "token scanned outside a parse");
  const int index = gtaState->logToken(spelling);
  gta_lloc = {index, index};
  return code;
}

int scanName(const char* text) {
  const std::string name = significantName(text);
  return classify(symbols.findSymbol(name.c_str()), name, text, false);
}

int scanQualifiedName(const char* text) {
  const char* dot = std::strchr(text, '.');
  const std::string owner = significantName(std::string_view(text, dot - text));
  const std::string name = significantName(dot + 1);
  if (owner == "global")
    return classify(symbols.findGlobalSymbol(name.c_str()), name, text, true);
  const Symbol& process = symbols.findSymbol(owner.c_str());
  if (process.type != processSymbol) {
    const std::string message = owner + ": no such process";
    gta_error(message.c_str());
    return scannedToken(BAD_TOKEN, text);
  }
  // A qualified name denotes the process's own name, never one that the
  // process merely sees.
  const int frame = process.data & 0xffff;
  return classify(symbols.findSymbolInFrame(name.c_str(), frame), name, text, true);
}

int scanUnknown(const char* text) {
  const std::string message = std::string("Unknown symbol '") + text + "'";
  gta_error(message.c_str());
  return scannedToken(BAD_TOKEN, text);
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

int scanNumber(const char* text) {
  if (decimalValue(text, gta_lval.number))
    return scannedToken(NUMBER, text);
  gta_error("Number too large.");
  return scannedToken(BAD_TOKEN, text);
}

} // namespace orvela
