#pragma once
// The connection to the client: the stream requests are read from and the
// stream replies are written to. Standard input and output unless a test or an
// in-process harness redirects them.

#include <iosfwd>
#include <string_view>

namespace orvela {

std::istream& clientIn();
std::ostream& clientOut();

/// Redirects the connection; both streams must outlive their use.
void setClientStreams(std::istream& in, std::ostream& out);

/// Writes one reply line and flushes it, so the client never waits for a
/// buffer to fill.
void writeLine(std::string_view line);

/// Writes the request-error reply: "error", the message, ".".
void writeError(std::string_view message);

} // namespace orvela
