#pragma once
// The server's command loop: greets the client, reads one service name per
// line, dispatches to its handler and turns failures into error replies.

#include <string_view>

namespace orvela {

struct Service;
using ServiceLookup = const Service* (*)(std::string_view name);

/// Runs the session on the client streams until "quit" or end of input.
/// Returns the process exit status: 0 when the session ended normally, 1 after
/// a fatal failure (a `Bug`, a `RuntimeError`, memory exhaustion or any other
/// exception), which has been answered with "error", "CAUGHT EXCEPTION: " and
/// the message, "." (`outOfMemoryMessage` for memory exhaustion), or after a
/// reply could not be written, which is told on standard error.
/// `lookup` finds the service of a line (the service table unless a test
/// supplies its own).
int runCommandLoop(ServiceLookup lookup);
int runCommandLoop();

/// The "version" service: "ok", the banner line, ".".
void processVersion();

} // namespace orvela
