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
void writeNames(const std::vector<std::string>& names) {
  std::string line;
  for (const std::string& name : names)
    line += name + ' ';
  writeLine(line);
}

} // namespace

void processSystem() {
  std::stringstream text;
  if (!spoolToTemp(text))
    throw ProtocolError("Protocol violation when receiving system");
  Session& session = serverSession();
  session.loadSystem(text);
  writeLine("ok");
  writeNames(session.integerNames());
  writeNames(session.clockNames());
  writeLine(".");
}

} // namespace orvela
