#pragma once
// The scanner of properties, `tctl_lex` (generated from tctl.l), and the
// helpers its rules call: line-by-line input from the parse's stream and the
// resolution of names against the symbol table of the system. Every call
// works on the parse state it is given; the scanner keeps nothing else.

union TCTL_STYPE;
struct TCTL_LTYPE;

namespace orvela {

class PropertyParserState;

/// The scanner's block read: the next line of the parse's input, newline
/// included, so that the scanner never reads beyond the property it scans.
/// Throws `RuntimeError` "LEX: input failed in scanner" when the stream's bad
/// bit is set.
int readPropertyInput(PropertyParserState& state, char* buffer, int max);

/// Where a scanned token goes: the parse, and the value and place of the
/// token for the parser.
struct PropertyScanTarget {
  PropertyParserState& state;
  TCTL_STYPE& value;
  TCTL_LTYPE& location;
};

/// Notes that the property has begun and answers `code`.
int propertyToken(PropertyParserState& state, int code);
/// A name: the bad token when unknown (noted as undeclared, with the closest
/// declared value or clock); the clock token for a clock or clock array, the
/// variable token otherwise (arrays classified by their element kind), with
/// the symbol as value.
int scanPropertyName(const PropertyScanTarget& token, const char* text);
/// A reference P.n or P(arguments).n (the instance named "P(arguments)"
/// without blanks): P must be a process of the system line (otherwise "Bad
/// property" is reported, the unknown process noted and the bad token
/// answered); n is looked up among P's own names. A location gives the
/// location token with value (position of P in the system line << 16) |
/// index of the location; a clock the clock token; any other name the
/// variable token; an unknown name the bad token, noted as an unknown
/// location. Notes suggest the closest declared name.
int scanLocationReference(const PropertyScanTarget& token, const char* text);
/// A number with its value, or the bad token when it does not fit in an int.
int scanPropertyNumber(const PropertyScanTarget& token, const char* text);
/// A character that starts no token: the bad token, noted.
int scanPropertyUnknown(const PropertyScanTarget& token, const char* text);
/// The end of the input: the end-of-input token when the property has not
/// begun, otherwise the end of the property (0), so that the last line needs
/// no newline and a trailing comment does not spoil it.
int endOfPropertyInput(PropertyParserState& state);

/// A new scanner reading the input of `state` (defined with the generated
/// scanner); `stopPropertyScanner` releases it.
void* startPropertyScanner(PropertyParserState& state);
void stopPropertyScanner(void* scanner);

} // namespace orvela

/// The scanner of the parse `state`: the next token code, 0 at the end of a
/// property, with the token's value and place.
int tctl_lex(TCTL_STYPE* value, TCTL_LTYPE* location, orvela::PropertyParserState& state);
