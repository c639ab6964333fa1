#pragma once
// The connection to one client: the stream requests are read from and the
// stream replies are written to. The server's command loop owns one over
// standard input and output; tests and in-process harnesses make their own.

#include <iosfwd>
#include <string_view>

namespace orvela {

class Client {
public:
  /// Both streams must outlive the client.
  Client(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

  /// The request stream.
  std::istream& in() const { return in_; }
  /// The reply stream.
  std::ostream& out() const { return out_; }

  /// Writes one reply line and flushes it, so the client never waits for a
  /// buffer to fill.
  void writeLine(std::string_view line) const;
  /// Writes the request-error reply: "error", the message, ".".
  void writeError(std::string_view message) const;
  /// Writes the reply to a failure that ends the server: "error",
  /// "CAUGHT EXCEPTION: " followed by the message, ".". Allocates nothing, so
  /// that it can answer memory exhaustion.
  void writeFatalError(std::string_view message) const;

private:
  std::istream& in_;
  std::ostream& out_;
};

} // namespace orvela
