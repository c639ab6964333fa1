#pragma once
// The scanner of system descriptions, `gta_lex` (generated from gta.l), and
// the helpers its rules call: input from the parse's stream, token logging,
// and the resolution of names against the parse's symbol table. Every call
// works on the parse state it is given; the scanner keeps nothing else.

#include <cstddef>
#include <iosfwd>
#include <string>

union GTA_STYPE;

namespace orvela {

class ParserState;
struct TokenSpan;

/// The heap of both generated scanners (their buffers): `malloc`, `realloc`
/// and `free`, except that an allocation the heap refuses throws
/// std::bad_alloc, so that running out of memory while scanning is reported
/// as memory exhaustion and not as a scanner failure.
void* scannerAllocate(std::size_t bytes);
void* scannerReallocate(void* memory, std::size_t bytes);
void scannerFree(void* memory);

/// Block read for a terminal: 0 at end of file; otherwise reads characters
/// one at a time until `max` are stored, a newline has been stored, or end
/// of file, and answers the count (no terminator: the scanner marks the end
/// of its buffer itself). Throws `RuntimeError`
/// "LEX: input failed in scanner" when the stream's bad bit is set.
int interactiveLexInput(std::istream* in, char* buffer, int max);
/// Block read otherwise: 0 at end of file; otherwise reads up to `max`
/// characters and answers the count. Throws like
/// `interactiveLexInput`.
int nonInteractiveLexInput(std::istream* in, char* buffer, int max);
/// The scanner's block read from the input of `state`: the interactive form
/// when standard input is a terminal.
int readLexInput(ParserState& state, char* buffer, int max);

/// Where a scanned token goes: the parse, and the value and location of the
/// token for the parser.
struct ScanTarget {
  ParserState& state;
  GTA_STYPE& value;
  TokenSpan& location;
};

/// Logs a token of the parse with its spelling, sets its location and
/// answers `code`.
int scannedToken(const ScanTarget& token, int code, const char* spelling);
/// A name: new name, clock name or symbol name (arrays classified by their
/// element kind). Names longer than 63 characters are reported as
/// "Identifier truncated" and cut.
int scanName(const ScanTarget& token, const char* text);
/// A qualified name P.x or global.x; the bad token, reported as an unknown
/// process (P) or an unknown name (x) with the closest declared one.
int scanQualifiedName(const ScanTarget& token, const char* text);
/// A character that starts no token: "Unknown symbol '%s'" and the bad token.
int scanUnknown(const ScanTarget& token, const char* text);
/// The value of the decimal literal `digits` into `value`; false, leaving
/// `value` alone, when it does not fit in an int.
bool decimalValue(const char* digits, int& value);
/// A number: its value, or "Number too large." and the bad token when it
/// does not fit in an int.
int scanNumber(const ScanTarget& token, const char* text);

/// Whether the parser has asked for raw text (`ParserState::requestCapture`);
/// the scanner then reads in its capture mode until `captureBracket` says
/// the text is complete.
bool captureRequested(const ParserState& state);
/// A bracket read in capture mode: true when it closes the captured text;
/// otherwise it is part of the text.
bool captureBracket(ParserState& state, char bracket);
/// Text read in capture mode, appended to the captured text.
void captureText(ParserState& state, const char* text);
/// The end of the captured text: the CAPTURED_TEXT token.
int capturedText(const ScanTarget& token);

/// Parses `text` within the parse of `state`, with a scanner of its own: the
/// parser first gets `startToken`, which selects what the text is (the body
/// of a process, an argument), then the tokens of `text`, whose lines count
/// from `line`. The names, tables and messages are those of `state`; its
/// scanner, line and column are restored afterwards. Answers what
/// `gta_parse` does.
int parseNested(ParserState& state, int startToken, const std::string& text, int line);

/// A new scanner reading the input of `state` (defined with the generated
/// scanner); `stopScanner` releases it.
void* startScanner(ParserState& state);
void stopScanner(void* scanner);

} // namespace orvela

/// The scanner of the parse `state`: the next token code, 0 at end of input,
/// with the token's value and location.
int gta_lex(GTA_STYPE* value, orvela::TokenSpan* location, orvela::ParserState& state);
