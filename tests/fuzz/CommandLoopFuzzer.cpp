// Fuzz target: the server's command loop fed an arbitrary request stream.
// Each input is one whole session, from the greeting to the end of input, on
// a fresh session: every request error must be answered and serving go on,
// so any fatal end of the session is a finding.

#include "FuzzTarget.h"
#include "server/Client.h"
#include "server/CommandLoop.h"
#include "server/Session.h"

#include <iostream>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool silenced = (orvela::fuzz::silenceDiagnostics(), true);
  (void)silenced;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::ostringstream out;
  orvela::resetServerSession();
  orvela::setClientStreams(in, out);
  const int status = orvela::runCommandLoop();
  orvela::setClientStreams(std::cin, std::cout);
  if (status != 0) {
    const std::string reply = out.str();
    const std::size_t lastError = reply.rfind("error\n");
    orvela::fuzz::fault("the session ended with a fatal error",
                        reply.c_str() + (lastError == std::string::npos ? 0 : lastError));
  }
  return 0;
}
