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

/// Writes the reply to a failure that ends the server: "error",
/// "CAUGHT EXCEPTION: " followed by the message, ".". Allocates nothing, so
/// that it can answer memory exhaustion.
void writeFatalError(std::string_view message);

} // namespace orvela
