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

void writeEmptyTrace() {
  writeLine("0");
  writeLine("0");
  writeLine(".");
}

/// The lengths of the path and the loop, then every step replayed from the
/// start state (the state reached, the edges taken, "."), then ".".
void writeTrace(const Session& session, const CheckResult& result) {
  const auto ignore = [](const GlobalState*, const Transition* const*) {};
  if (!result.hasTrace ||
      (session.options().overapproximation && !session.replay(result, ignore))) {
    writeEmptyTrace();
    return;
  }
  writeLine(std::to_string(result.trace.path->getLength()));
  writeLine(std::to_string(result.trace.loop->getLength()));
  const int zoneFormat = session.options().zoneFormat;
  session.replay(result, [zoneFormat](const GlobalState* state, const Transition* const* edges) {
    write(state, edges, zoneFormat);
  });
  writeLine(".");
}

} // namespace

void processModelCheck() {
  Session& session = serverSession();
  session.requireSystem();
  std::stringstream property;
  if (!spoolToTemp(property))
    throw ProtocolError("Protocol violation when receiving property");
  const CheckResult result = session.check(property);
  writeLine("ok");
  writeLine(std::string(1, result.verdict));
  writeTrace(session, result);
}

} // namespace orvela
