#include "language/ParserState.h"

#include "base/Exceptions.h"
#include "language/ErrorReporting.h"
#include "language/Scanner.h"

#include <algorithm>
#include <cstdarg>

namespace orvela {

ParserState::ParserState(std::istream& input, std::ostream& errors)
    : arena(tables, symbols, this), input(input), errors(errors), declaration(*this),
      process(*this), templates(*this) {
  scanner = startScanner(*this);
}

ParserState::~ParserState() { stopScanner(scanner); }

void ParserState::error(const char* message) { writeParseError(errors, line, message); }

bool ParserState::semanticError(const char* format, ...) {
  char message[256];
  va_list args;
  va_start(args, format);
  formatMessage(message, sizeof message, format, args);
  va_end(args);
  error(message);
  errorFlag = true;
  return false;
}

void ParserState::requestCapture(char close) {
  capture.close = close;
  capture.depth = 0;
  capture.text.clear();
  capture.line = line;
}

EventSite ParserState::eventSite(int sourceLine) {
  std::string where = "line " + std::to_string(sourceLine);
  if (!processName.empty())
    where += " in process " + processName;
  return {events, events->addPlace(where)};
}

int ParserState::logToken(std::string_view spelling) {
  tokens_.emplace_back(spelling);
  return static_cast<int>(tokens_.size()) - 1;
}

std::string ParserState::spelling(TokenSpan span) const {
  std::string result;
  for (int token = std::max(span.first, 0); token <= span.last; ++token)
    result += tokens_[static_cast<std::size_t>(token)];
  return result;
}

void ParserState::addSpanToText(TokenSpan span) { text.addToText(spelling(span)); }

} // namespace orvela
