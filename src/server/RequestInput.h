#pragma once
// Reading requests from a client's request stream: service names, request lines and request
// bodies. Carriage returns are dropped everywhere, so clients may end their
// lines with CR LF.

#include <iosfwd>
#include <string>

namespace orvela {

/// Longest service name line, in characters.
constexpr std::size_t serviceLineLimit = 18;
/// Longest line of a request (states, transitions, options), in characters.
constexpr std::size_t requestLineLimit = 98;

/// The next character of `in`, skipping carriage returns; stops skipping when
/// a read fails or the stream ends (the result is then unspecified and the
/// stream's state tells).
char get(std::istream& in);

/// Copies one request body from `in` into `out`: everything up to the
/// first newline, ".", newline, with the newline before the "." replaced by a
/// single appended newline. The "." line is consumed. An empty body is sent as
/// a blank line followed by the "." line. Returns false when the input failed
/// or ended before the terminator.
bool spoolToTemp(std::istream& in, std::ostream& out);

/// Reads a service line from `in`. Returns false at end of input with nothing read.
/// Otherwise `line` holds at most `serviceLineLimit` characters; the rest of an
/// over-long line is discarded.
bool readServiceLine(std::istream& in, std::string& line);

/// Reads one request line from `in`. Throws ProtocolError when the line is longer than
/// `requestLineLimit` characters (the rest of the line is discarded first) and
/// when the input ended before a line could be read.
std::string readRequestLine(std::istream& in);

} // namespace orvela
