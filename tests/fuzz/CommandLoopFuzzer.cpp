// Fuzz target: the server's command loop fed an arbitrary request stream.
// Each input is one whole session, from the greeting to the end of input, on
// a fresh session: every request error must be answered and serving go on,
// so any fatal end of the session is a finding, and so is a reply that is
// not "ok" or "error", lines, "." or a session that no longer answers
// `version` afterwards.

#include "FuzzTarget.h"
#include "server/CommandLoop.h"
#include "server/Services.h"
#include "session/Version.h"

#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

const std::string greeting = "ok\n.\n";

// Each request's service name and where its reply starts in the output:
// the loop looks up the service of every request line before serving it.
std::ostringstream* output = nullptr;
struct Request {
  std::string name;
  std::size_t replyStart;
};
std::vector<Request> served;

const orvela::Service* markedLookup(std::string_view name) {
  served.push_back({std::string(name), static_cast<std::size_t>(output->tellp())});
  return orvela::findService(name);
}

/// Whether `reply` has the form the service `name` answers with.
bool wellFormed(const std::string& name, std::string_view reply) {
  // An error message may hold several lines (a parser's collected messages).
  if (reply.starts_with("error\n"))
    return reply.size() > 8 && reply.ends_with("\n.\n");
  if (name == "quit")
    return reply.empty();
  if (name == "domainCollect" || name == "wcrtCollect")
    return std::regex_match(reply.begin(), reply.end(), std::regex("(-?[0-9]+ -?[0-9]+\n)*\\.\n"));
  if (name == "domainInit" || name == "wcrtInit")
    return reply == "ok\n";
  if (name == "getSuccessor" && reply == "ok\n")
    return true; // the move's guards leave nothing
  if (name == "setOptions" || name == "startState")
    return reply == "ok\n.\n";
  if (name == "version")
    return reply == "ok\n" + std::string(orvela::versionBanner) + "\n.\n";
  return reply.starts_with("ok\n") && reply.ends_with("\n.\n");
}

/// The first malformed reply of `replies`, or null when the greeting comes
/// first and every reply has its service's form.
const char* malformedReply(const std::string& replies) {
  if (!replies.starts_with(greeting))
    return replies.c_str();
  for (std::size_t k = 0; k < served.size(); ++k) {
    const std::size_t end = k + 1 < served.size() ? served[k + 1].replyStart : replies.size();
    const std::size_t start = served[k].replyStart;
    if (!wellFormed(served[k].name, std::string_view(replies).substr(start, end - start)))
      return replies.c_str() + start;
  }
  return nullptr;
}

/// A command loop whose requests are refilled for every run.
struct Harness {
  std::istringstream in;
  std::ostringstream out;
  orvela::CommandLoop loop{in, out, markedLookup};

  /// Serves `requests` on the loop's session; answers the replies and the
  /// loop's status, and leaves the requests served in `served`.
  std::string serve(const std::string& requests, int& status) {
    in.clear();
    in.str(requests);
    out.str("");
    output = &out;
    served.clear();
    status = loop.run();
    return out.str();
  }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool silenced = (orvela::fuzz::silenceDiagnostics(), true);
  (void)silenced;
  Harness harness;
  int status = 0;
  const std::string reply =
      harness.serve(std::string(reinterpret_cast<const char*>(data), size), status);
  if (status != 0) {
    const std::size_t lastError = reply.rfind("error\n");
    orvela::fuzz::fault("the session ended with a fatal error",
                        reply.c_str() + (lastError == std::string::npos ? 0 : lastError));
  }
  if (const char* malformed = malformedReply(reply))
    orvela::fuzz::fault("malformed reply", malformed);
  // The same session must still answer.
  const std::string version = harness.serve("version\n", status);
  if (status != 0 || version != greeting + "ok\n" + orvela::versionBanner + "\n.\n")
    orvela::fuzz::fault("version no longer answered", version.c_str());
  return 0;
}
