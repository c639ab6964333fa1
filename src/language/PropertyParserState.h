#pragma once
// Everything one parse of a property works on: its input, its scanner, the
// names of the system and its error stream. A fresh state is made for every
// property and dropped after it, so nothing carries over from one property to
// the next and parses in different threads share nothing.

#include "language/ErrorReporting.h"
#include "language/ExpressionBuilders.h"
#include "language/ParseProperty.h"
#include "language/PropertyBuilder.h"
#include "model/System.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace orvela {

/// Working state of one property parse.
class PropertyParserState {
public:
  /// A parse of the property read from `input` over `system` (may be null:
  /// "deadlock" is then reported as an error), its error lines written to
  /// `errors`; both streams must outlive the state. Starts the parse's own
  /// scanner.
  PropertyParserState(std::istream& input, const Pointer<System>& system, std::ostream& errors);
  ~PropertyParserState();
  PropertyParserState(const PropertyParserState&) = delete;
  PropertyParserState& operator=(const PropertyParserState&) = delete;

  /// Writes the line "Bad property" to the error stream; the message is not
  /// shown there (see `note`).
  void error(const char* message);
  /// Reports a semantic error ("Bad property", like a syntax error) and
  /// answers false, so that actions can write `if (!check) YYERROR;`. The
  /// reason is noted at the focus, unless the parser is still recovering
  /// from an earlier error.
  bool semanticError(const char* reason);
  /// Keeps `reason` in `messages` at `line` and `column` of the property.
  void note(int line, int column, const std::string& reason);
  /// Makes the place `line`, `column` the focus of the semantic errors of the
  /// action that follows; see `semanticError`.
  void focusOn(int line, int column, bool recovering);
  /// Notes that the scanner matched `length` characters of `text`: where the
  /// match starts and ends (`first` and `last` line and column) and that the
  /// scanner's position moves past it.
  void advance(const char* text, int length, int& firstLine, int& firstColumn, int& lastLine,
               int& lastColumn);

  /// Builds are registered here and released with the state.
  ParseArena arena;
  std::istream& input;
  std::ostream& errors;
  /// The scanner of this parse (its generated state).
  void* scanner = nullptr;
  Pointer<System> system;
  /// The results, filled by the grammar's actions.
  ParsedProperty property;
  /// Whether the scanner has returned a token of this property yet.
  bool tokenScanned = false;
  /// Why the property is bad, one message per fault, at its place in the
  /// property (line and column from 1). The error stream has only the
  /// "Bad property" lines.
  std::vector<ParseMessage> messages;
  /// The line and column of the next character of the property.
  int line = 1;
  int column = 1;
  /// The text of the last match: the token the parser read last.
  std::string matched;
  /// Builds the deadlock predicate; empty when the caller has none.
  DeadlockFactory deadlock;
  PropertyBuilder build;

private:
  int focusLine_ = 1;
  int focusColumn_ = 1;
  bool quiet_ = false;
};

} // namespace orvela
