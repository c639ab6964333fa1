#pragma once
// Everything one parse of a property works on: its input, its scanner, the
// names of the system and its error stream. A fresh state is made for every
// property and dropped after it, so nothing carries over from one property to
// the next and parses in different threads share nothing.

#include "language/ExpressionBuilders.h"
#include "language/ParseProperty.h"
#include "language/PropertyBuilder.h"
#include "model/System.h"

#include <iosfwd>

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
  /// shown.
  void error(const char* message);
  /// Reports a semantic error ("Bad property", like a syntax error) and
  /// answers false, so that actions can write `if (!check) YYERROR;`. The
  /// reason is kept in `lastReason` for diagnostics; it is not shown.
  bool semanticError(const char* reason);

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
  /// The reason of the last semantic error, empty when there was none.
  const char* lastReason = "";
  /// Builds the deadlock predicate; empty when the caller has none.
  DeadlockFactory deadlock;
  PropertyBuilder build;
};

} // namespace orvela
