// "newSystem": a system description in, the names of its integers and clocks
// out.

#include "base/Exceptions.h"
#include "server/Client.h"
#include "server/RequestInput.h"
#include "server/ServiceHandlers.h"
#include "session/Session.h"

#include <sstream>

namespace orvela {

namespace {

/// Every name followed by one blank.
void writeNames(const Client& client, const std::vector<std::string>& names) {
  std::string line;
  for (const std::string& name : names)
    line += name + ' ';
  client.writeLine(line);
}

} // namespace

void processSystem(const Client& client, Session& session) {
  std::stringstream text;
  if (!spoolToTemp(client.in(), text))
    throw ProtocolError("Protocol violation when receiving system");
  session.loadSystem(text);
  client.writeLine("ok");
  writeNames(client, session.model().integerNames());
  writeNames(client, session.model().clockNames());
  client.writeLine(".");
}

} // namespace orvela
