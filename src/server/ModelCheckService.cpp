// "modelCheck": a property in, a verdict and a diagnostic trace out.

#include "base/Exceptions.h"
#include "checkers/Trace.h"
#include "server/Client.h"
#include "server/RequestInput.h"
#include "server/ServiceHandlers.h"
#include "server/WireFormat.h"
#include "session/Session.h"

#include <sstream>

namespace orvela {

namespace {

void writeEmptyTrace(const Client& client) {
  client.writeLine("0");
  client.writeLine("0");
  client.writeLine(".");
}

/// The lengths of the path and the loop, then every step replayed from the
/// start state (the state reached, the edges taken, "."), then ".".
void writeTrace(const Client& client, const Session& session, const CheckResult& result) {
  const auto ignore = [](const GlobalState*, const Transition* const*) {};
  if (!result.hasTrace ||
      (session.options().overapproximation && !session.replay(result, ignore))) {
    writeEmptyTrace(client);
    return;
  }
  client.writeLine(std::to_string(result.trace.path->getLength()));
  client.writeLine(std::to_string(result.trace.loop->getLength()));
  const ZoneFormat zoneFormat = session.options().zoneFormat;
  session.replay(result,
                 [&client, zoneFormat](const GlobalState* state, const Transition* const* edges) {
                   write(client, state, edges, zoneFormat);
                 });
  client.writeLine(".");
}

} // namespace

void processModelCheck(const Client& client, Session& session) {
  session.requireSystem();
  std::stringstream property;
  if (!spoolToTemp(client.in(), property))
    throw ProtocolError("Protocol violation when receiving property");
  const CheckResult result = session.check(property);
  client.writeLine("ok");
  client.writeLine(std::string(1, result.verdict));
  writeTrace(client, session, result);
}

} // namespace orvela
