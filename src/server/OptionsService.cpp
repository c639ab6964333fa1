// "setOptions": option lines up to a "." line.

#include "server/Client.h"
#include "server/RequestInput.h"
#include "server/ServiceHandlers.h"
#include "session/Session.h"

namespace orvela {

void processOptions(const Client& client, Session& session) {
  try {
    for (std::string line = readRequestLine(client.in()); line != ".";
         line = readRequestLine(client.in())) {
      const auto [name, value] = splitOptionLine(line);
      session.setOption(name, value);
    }
  } catch (...) {
    // The options accepted before the bad line stay; the session must not be
    // left without a state space for them.
    session.initialize();
    throw;
  }
  session.initialize();
  client.writeLine("ok");
  client.writeLine(".");
}

} // namespace orvela
