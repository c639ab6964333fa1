// "newSystem": a system description in, the names of its integers and clocks
// out.

#include "base/Exceptions.h"
#include "server/Client.h"
#include "server/RequestInput.h"
#include "server/ServiceHandlers.h"
#include "session/Session.h"

#include <iostream>
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

/// The parser's messages, "Error at line N, column C : message" each.
void writeMessages(const std::vector<ParseMessage>& messages) {
  for (const ParseMessage& message : messages)
    writeParseError(std::cerr, message);
  std::cerr.flush();
}

} // namespace

void processSystem(const Client& client, Session& session) {
  std::stringstream text;
  if (!spoolToTemp(client.in(), text))
    throw ProtocolError("Protocol violation when receiving system");
  // The reply to a description with errors says only that; the parser's
  // messages go to standard error, for a front end that shows them.
  std::vector<ParseMessage> messages;
  try {
    session.loadSystem(text, &messages);
  } catch (const ProtocolError&) {
    writeMessages(messages);
    throw;
  }
  writeMessages(messages);
  client.writeLine("ok");
  writeNames(client, session.model().integerNames());
  writeNames(client, session.model().clockNames());
  client.writeLine(".");
}

} // namespace orvela
