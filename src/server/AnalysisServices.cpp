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
Session::WatchItems readPLV(const Session& session, Session::Watched watched) {
  Session::WatchItems items;
  for (std::string line = readRequestLine(); line != "."; line = readRequestLine()) {
    int values[3];
    if (!scanIntegers(line, values, 3))
      throw ProtocolError("Not a PLV tripple");
    items.push_back({values[0], values[1], values[2]});
    session.checkWatchItem(items.back(), watched);
  }
  return items;
}

/// One line per watched item, "minimum maximum", then ".".
void printWatches(const Session::Watches& watches, const char* notStarted) {
  if (watches.empty())
    throw ProtocolError("%s", notStarted);
  for (const MinMaxFilter::Watch& watch : watches)
    writeLine(std::to_string(watch.second.first) + " " + std::to_string(watch.second.second));
  writeLine(".");
}

} // namespace

void processDomainInit() {
  Session& session = serverSession();
  session.requireSystem();
  session.startDomainCollection(readPLV(session, Session::Watched::integer));
  writeLine("ok");
}

void processDomainCollect() {
  printWatches(serverSession().domainWatches(), "Domain computation not started");
}

void processWCRTInit() {
  Session& session = serverSession();
  session.requireSystem();
  session.startResponseTimeCollection(readPLV(session, Session::Watched::clock));
  writeLine("ok");
}

void processWCRTCollect() {
  printWatches(serverSession().responseTimeWatches(), "WCRT computation not started");
}

} // namespace orvela
