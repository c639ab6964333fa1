// Step-by-step simulation: the initial state, the enabled moves of a state,
// the successor by a chosen move, and the start state of later searches.

#include "base/Exceptions.h"
#include "model/System.h"
#include "server/Client.h"
#include "server/RequestInput.h"
#include "server/ServiceHandlers.h"
#include "server/WireFormat.h"
#include "session/Session.h"
#include "symbolic/GlobalState.h"

namespace orvela {

void processInitial(const Client& client, Session& session) {
  session.requireSystem();
  client.writeLine("ok");
  if (Pointer<GlobalState> state = session.simulator().initialState())
    writeGlobalState(client, state.get(), session.options().zoneFormat);
  else
    client.writeLine(".");
}

void processTransitions(const Client& client, Session& session) {
  session.requireSystem();
  const Pointer<GlobalState> state = read(client.in(), *session.system());
  client.writeLine("ok");
  const SearchOptions& options = session.options();
  // One successor block per enabled move, with the stored flag on request.
  Simulator& simulator = session.simulator();
  simulator.enabledMoves(
      state.get(), [&](const GlobalState* successor, const Transition* const* edges) {
        write(client, successor, edges, options.zoneFormat);
        if (options.storeFlag) {
          client.writeLine(simulator.isStored(options.reduction, successor, edges) ? "T" : "F");
          client.writeLine(".");
        }
      });
  client.writeLine(".");
}

void processSuccessor(const Client& client, Session& session) {
  session.requireSystem();
  const System& system = *session.system();
  const Pointer<GlobalState> state = read(client.in(), system);
  const int count = getInteger(readRequestLine(client.in()));
  const Transition* requested[3] = {readTransition(client.in(), system), nullptr, nullptr};
  if (count != 1)
    requested[1] = readTransition(client.in(), system);
  if (readRequestLine(client.in()) != ".")
    throw ProtocolError("End of request expected");
  const Simulator::Move move = session.simulator().moveOf(state.get(), requested);
  client.writeLine("ok");
  const ZoneFormat zoneFormat = session.options().zoneFormat;
  session.simulator().successors(
      state.get(), move,
      [&client, zoneFormat](const GlobalState* successor, const Transition* const*) {
        writeGlobalState(client, successor, zoneFormat);
      });
}

void processStartState(const Client& client, Session& session) {
  session.requireSystem();
  session.startFrom(read(client.in(), *session.system()));
  client.writeLine("ok");
  client.writeLine(".");
}

} // namespace orvela
