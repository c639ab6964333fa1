#pragma once
// The server's command loop: greets the client, reads one service name per
// line, dispatches to its handler with the loop's client and session, and
// turns failures into error replies.

#include "server/Client.h"
#include "server/Services.h"
#include "session/Session.h"

#include <iosfwd>
#include <string_view>

namespace orvela {

using ServiceLookup = const Service* (*)(std::string_view name);

class CommandLoop {
public:
  /// A loop that serves requests from `in` with replies to `out` (both must
  /// outlive it) on a fresh session. `lookup` finds the service of a line
  /// (the service table unless a test supplies its own).
  CommandLoop(std::istream& in, std::ostream& out, ServiceLookup lookup = findService)
      : client_(in, out), lookup_(lookup) {}

  /// Serves the client until "quit" or end of input. Returns the process
  /// exit status: 0 when the session ended normally, 1 after a fatal failure
  /// (a `Bug`, a `RuntimeError`, memory exhaustion or any other exception),
  /// which has been answered with "error", "CAUGHT EXCEPTION: " and the
  /// message, "." (`outOfMemoryMessage` for memory exhaustion), or after a
  /// reply could not be written, which is told on standard error. May be
  /// called again (the streams refilled): the session stays as it was.
  int run();

private:
  enum class Step { Continue, Quit };
  /// Serves one service line.
  Step serveOne(const std::string& line);
  /// Whether a reply could not be written (see `run`).
  bool repliesLost() const;

  Client client_;
  Session session_;
  ServiceLookup lookup_;
};

/// The "version" service: "ok", the banner line, ".".
void processVersion(const Client& client, Session& session);

} // namespace orvela
