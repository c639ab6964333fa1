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

void ParserState::error(const char* message) {
  if (quiet_)
    return;
  if (focus_ >= 0)
    errorAt(token(focus_).line, token(focus_).column, message);
  else
    errorAt(matchLine_, matchColumn_, message);
}

void ParserState::errorAt(int atLine, int atColumn, const std::string& message) {
  writeParseError(errors, atLine, message.c_str());
  messages.push_back({atLine, atColumn, message});
}

void ParserState::focusOn(TokenSpan span, bool recovering) {
  const int index = span.first <= span.last ? span.first : span.last;
  focus_ = tokenCount() == 0 ? -1 : std::clamp(index, 0, tokenCount() - 1);
  quiet_ = recovering;
}

void ParserState::advance(const char* text, int length) {
  matchLine_ = line;
  matchColumn_ = column;
  focus_ = -1;
  quiet_ = false;
  // A string is one token: the lines it spans are not counted.
  const bool inString = length > 0 && text[0] == '"';
  for (int k = 0; k < length; ++k) {
    if (text[k] == '\n' && !inString) {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
}

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
  tokens_.push_back({std::string(spelling), matchLine_, matchColumn_});
  return static_cast<int>(tokens_.size()) - 1;
}

std::string ParserState::spelling(TokenSpan span) const {
  std::string result;
  for (int token = std::max(span.first, 0); token <= span.last; ++token)
    result += tokens_[static_cast<std::size_t>(token)].spelling;
  return result;
}

void ParserState::addSpanToText(TokenSpan span) { text.addToText(spelling(span)); }

} // namespace orvela
