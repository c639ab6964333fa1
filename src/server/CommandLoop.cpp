#include "server/CommandLoop.h"

#include "base/Exceptions.h"
#include "server/RequestInput.h"
#include "session/Version.h"

#include <iostream>
#include <string>

namespace orvela {

void processVersion(const Client& client, Session&) {
  client.writeLine("ok");
  client.writeLine(versionBanner);
  client.writeLine(".");
}

CommandLoop::Step CommandLoop::serveOne(const std::string& line) {
  if (line.empty())
    return Step::Continue;
  const Service* service = lookup_(line);
  if (service && service->code == quitService)
    return Step::Quit;
  if (!service || !service->handler)
    throw ProtocolError("%s: Unknown command", line.c_str());
  service->handler(client_, session_);
  return Step::Continue;
}

bool CommandLoop::repliesLost() const {
  // The client stopped reading (with SIGPIPE ignored the write fails instead
  // of ending the process). Serving on would run searches nobody can hear
  // of, so the session ends with a message on standard error.
  if (client_.out().good())
    return false;
  std::cerr << "orvela-server: cannot write replies to the client; session ended\n";
  return true;
}

int CommandLoop::run() {
  client_.writeLine("ok");
  client_.writeLine(".");
  if (repliesLost())
    return 1;
  std::string line;
  while (readServiceLine(client_.in(), line)) {
    try {
      if (serveOne(line) == Step::Quit)
        return 0;
    } catch (const ProtocolError& error) {
      client_.writeError(error.what());
    } catch (const InputError& error) {
      client_.writeError(error.what());
    } catch (const std::exception& error) {
      client_.writeFatalError(failureMessage(error));
      return 1;
    } catch (...) {
      client_.writeFatalError("unknown exception");
      return 1;
    }
    if (repliesLost())
      return 1;
  }
  return 0;
}

} // namespace orvela
