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

void processInitial() {
  Session& session = serverSession();
  session.requireSystem();
  writeLine("ok");
  if (Pointer<GlobalState> state = session.initialState())
    writeGlobalState(state.get(), session.options().zoneFormat);
  else
    writeLine(".");
}

void processTransitions() {
  Session& session = serverSession();
  session.requireSystem();
  const Pointer<GlobalState> state = read(*session.system());
  writeLine("ok");
  const SearchOptions& options = session.options();
  // One successor block per enabled move, with the stored flag on request.
  session.enabledMoves(state.get(),
                       [&](const GlobalState* successor, const Transition* const* edges) {
                         write(successor, edges, options.zoneFormat);
                         if (options.storeFlag) {
                           writeLine(session.isStored(successor, edges) ? "T" : "F");
                           writeLine(".");
                         }
                       });
  writeLine(".");
}

void processSuccessor() {
  Session& session = serverSession();
  session.requireSystem();
  const System& system = *session.system();
  const Pointer<GlobalState> state = read(system);
  const int count = getInteger(readRequestLine());
  const Transition* requested[3] = {readTransition(system), nullptr, nullptr};
  if (count != 1)
    requested[1] = readTransition(system);
  if (readRequestLine() != ".")
    throw ProtocolError("End of request expected");
  const Session::Move move = session.moveOf(state.get(), requested);
  writeLine("ok");
  const int zoneFormat = session.options().zoneFormat;
  session.successors(state.get(), move,
                     [zoneFormat](const GlobalState* successor, const Transition* const*) {
                       writeGlobalState(successor, zoneFormat);
                     });
}

void processStartState() {
  Session& session = serverSession();
  session.requireSystem();
  session.startFrom(read(*session.system()));
  writeLine("ok");
  writeLine(".");
}

} // namespace orvela
