#pragma once
// Reading a property: one line of the property language turned into a
// formula over the loaded system and the kind of check it asks for.

#include "formula/TCTLExpression.h"
#include "language/ErrorReporting.h"
#include "model/System.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace orvela {

/// The kind of a property.
enum class PropertyKind {
  invariantly,       ///< A[] f: the formula held is the negation of f
  possibly,          ///< E<> f
  potentiallyAlways, ///< E[] f
  eventually,        ///< A<> f: the formula held is the negation of f
  leadsTo,           ///< f --> g: the premise f and the formula g
  quit,              ///< "quit", or the input ended before any token
  none,              ///< an empty line, or a property with an error
};

/// Whether the search of a property of `kind` looks for a counterexample
/// (A[], A<>, -->) rather than a witness (E<>, E[]).
constexpr bool searchesCounterexample(PropertyKind kind) {
  return kind == PropertyKind::invariantly || kind == PropertyKind::eventually ||
         kind == PropertyKind::leadsTo;
}

/// Builds the deadlock predicate of the system being checked. The predicate
/// belongs to the checkers, above the parser: whoever parses a property for a
/// check hands it in.
using DeadlockFactory = std::function<Pointer<TCTLExpression>()>;

/// What one parse leaves.
struct ParsedProperty {
  /// The formula to search for (see `PropertyKind`), g for f --> g; null for
  /// `quit` and `none`.
  Pointer<TCTLExpression> expression;
  /// f for f --> g; null for the other kinds.
  Pointer<TCTLExpression> premise;
  PropertyKind kind = PropertyKind::none;
  /// False for E<> and A[], true for E[], A<> and leads-to.
  bool liveness = false;
  /// 0 when a property (possibly the erroneous one) was read; 1 when the
  /// input ended inside error recovery; 2 when the parser stack (200 entries)
  /// overflowed.
  int result = 0;
  /// Lines consumed, comments and continuations included.
  int lines = 0;
  /// Why the property was refused: one message per fault, at the line and
  /// column of the property where it lies.
  std::vector<ParseMessage> messages;
};

/// Parses the next property from `in`: the tokens up to the end of the line
/// (a comment or a backslash before the line end joins the next line), or up
/// to the end of the input. Names are resolved in the symbol table of the
/// system's description; "deadlock" is the predicate `deadlock` builds (an
/// error without a factory).
/// Reads the stream line by line and nothing beyond the property, so that
/// consecutive calls read consecutive properties.
///
/// Every syntax or semantic error writes the line "Bad property" to `errors`;
/// the property then has kind `none` and no formula. An empty line has kind `none` and
/// writes nothing. Throws `RuntimeError` for a failure of the stream.
ParsedProperty parseProperty(std::istream& in, const Pointer<System>& system, std::ostream& errors,
                             const DeadlockFactory& deadlock = {});

/// The same over a text; the error lines are stored in `messages` when it is
/// not null.
ParsedProperty parseProperty(std::string_view text, const Pointer<System>& system,
                             std::string* messages = nullptr, const DeadlockFactory& deadlock = {});

} // namespace orvela
