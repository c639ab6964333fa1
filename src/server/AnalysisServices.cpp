// The domain and response-time analyses: watch lists in, the smallest and
// largest values seen by the reachability checks since out.

#include "base/Exceptions.h"
#include "server/Client.h"
#include "server/RequestInput.h"
#include "server/ServiceHandlers.h"
#include "server/WireFormat.h"
#include "session/Session.h"

namespace orvela {

namespace {

/// Lines of three integers (process, location, watched integer or clock) up
/// to a "." line, each checked against the model as it is read.
Analyses::WatchItems readPLV(std::istream& in, const System& system, Analyses::Watched watched) {
  Analyses::WatchItems items;
  for (std::string line = readRequestLine(in); line != "."; line = readRequestLine(in)) {
    int values[3];
    if (!scanIntegers(line, values, 3))
      throw ProtocolError("Not a PLV tripple");
    items.push_back({values[0], values[1], values[2]});
    Analyses::checkWatchItem(system, items.back(), watched);
  }
  return items;
}

/// One line per watched item, "minimum maximum", then ".".
void printWatches(const Client& client, const Analyses::Watches& watches, const char* notStarted) {
  if (watches.empty())
    throw ProtocolError("%s", notStarted);
  for (const MinMaxFilter::Watch& watch : watches)
    client.writeLine(std::to_string(watch.second.first) + " " +
                     std::to_string(watch.second.second));
  client.writeLine(".");
}

} // namespace

void processDomainInit(const Client& client, Session& session) {
  session.requireSystem();
  const System& system = *session.system();
  session.analyses().startDomainCollection(
      system, readPLV(client.in(), system, Analyses::Watched::integer));
  client.writeLine("ok");
}

void processDomainCollect(const Client& client, Session& session) {
  printWatches(client, session.analyses().domainWatches(), "Domain computation not started");
}

void processWCRTInit(const Client& client, Session& session) {
  session.requireSystem();
  const System& system = *session.system();
  session.analyses().startResponseTimeCollection(
      system, readPLV(client.in(), system, Analyses::Watched::clock));
  client.writeLine("ok");
}

void processWCRTCollect(const Client& client, Session& session) {
  printWatches(client, session.analyses().responseTimeWatches(), "WCRT computation not started");
}

} // namespace orvela
