#include "server/CommandLoop.h"

#include "base/Exceptions.h"
#include "server/Client.h"
#include "server/RequestInput.h"
#include "server/Services.h"
#include "session/Version.h"

#include <iostream>
#include <string>

namespace orvela {

void processVersion() {
  writeLine("ok");
  writeLine(versionBanner);
  writeLine(".");
}

namespace {

enum class Step { Continue, Quit };

/// Reads and serves one service line.
Step serveOne(const std::string& line, ServiceLookup lookup) {
  if (line.empty())
    return Step::Continue;
  const Service* service = lookup(line);
  if (service && service->code == quitService)
    return Step::Quit;
  if (!service || !service->handler)
    throw ProtocolError("%s: Unknown command", line.c_str());
  service->handler();
  return Step::Continue;
}

/// Whether a reply could not be written: the client stopped reading (with
/// SIGPIPE ignored the write fails instead of ending the process). Serving
/// on would run searches nobody can hear of, so the session ends with a
/// message on standard error.
bool repliesLost() {
  if (clientOut().good())
    return false;
  std::cerr << "orvela-server: cannot write replies to the client; session ended\n";
  return true;
}

} // namespace

int runCommandLoop() { return runCommandLoop(findService); }

int runCommandLoop(ServiceLookup lookup) {
  writeLine("ok");
  writeLine(".");
  if (repliesLost())
    return 1;
  std::string line;
  while (readServiceLine(line)) {
    try {
      if (serveOne(line, lookup) == Step::Quit)
        return 0;
    } catch (const ProtocolError& error) {
      writeError(error.what());
    } catch (const InputError& error) {
      writeError(error.what());
    } catch (const std::exception& error) {
      writeFatalError(failureMessage(error));
      return 1;
    } catch (...) {
      writeFatalError("unknown exception");
      return 1;
    }
    if (repliesLost())
      return 1;
  }
  return 0;
}

} // namespace orvela
