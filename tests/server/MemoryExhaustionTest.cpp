// Running out of memory: the server answers the fatal error reply that says
// so and ends with status 1, wherever the allocation fails.

#include "support/ServerProcess.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orvela {
namespace {

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer reserves terabytes of address space for its shadow memory,
// so a limit on the address space cannot be used under it.
constexpr bool addressSpaceLimitsWork = false;
#else
constexpr bool addressSpaceLimitsWork = true;
#endif

const std::string fatalReply = "error\nCAUGHT EXCEPTION: Memory allocation failed !!\n.\n";

/// A session that parses, searches with traces, builds clock difference
/// diagrams, simulates and collects domains: allocations of every kind.
const std::string session =
    "newSystem\n"
    "clock x, y;\n"
    "int [0,300] n;\n"
    "chan go;\n"
    "process P {\n"
    "  state a { x <= 3 }, b;\n"
    "  init a;\n"
    "  trans a -> b { guard x >= 1; sync go!; assign n := n + 1, x := 0; },\n"
    "        b -> a { guard n < 300; assign y := 0; };\n"
    "}\n"
    "process Q { state c; init c; trans c -> c { sync go?; }; }\n"
    "system P, Q;\n"
    ".\n"
    "setOptions\ntrace 1\n.\n"
    "domainInit\n-1 0 0\n.\n"
    "modelCheck\nE<> deadlock\n.\n"
    "modelCheck\nE<> n == 300 and y > 2\n.\n"
    "getTransitions\n0\n0\n.\n.\n5\n.\n"
    "domainCollect\n";

/// Whether `text` is made of whole lines that start `whole`.
bool isLinePrefix(const std::string& text, const std::string& whole) {
  return whole.compare(0, text.size(), text) == 0 && (text.empty() || text.back() == '\n');
}

TEST(MemoryExhaustion, EveryFailingLimitGetsTheFatalReplyAfterWholeReplyLines) {
  if (!addressSpaceLimitsWork)
    GTEST_SKIP() << "address space limits do not work under AddressSanitizer";
  const test::ProcessResult reference = test::runServer(session);
  ASSERT_EQ(reference.exitStatus, 0) << reference.err;
  ASSERT_GT(reference.out.size(), 10000u); // the trace made it long

  // From a limit too small to start the program up to 2 MiB beyond the first
  // one at which the whole session runs (where the heap grows by a mapping
  // of its own, a higher limit can fail again): below some limit the loader or the language
  // runtime cannot start the program and nothing is written; from the first
  // run that writes anything on, each run ends with whole reply lines of the
  // unlimited run followed by the fatal reply.
  constexpr std::size_t step = 64 << 10;
  int failedAfterGreeting = 0;
  bool started = false;
  std::size_t end = 256u << 20;
  for (std::size_t limit = 4 << 20; limit < end; limit += step) {
    const test::ProcessResult run = test::runServer(session, limit);
    SCOPED_TRACE("address space limit " + std::to_string(limit));
    if (!started && run.out.empty() && run.exitStatus != 0)
      continue;
    started = true;
    if (run.exitStatus == 0) {
      EXPECT_EQ(run.out, reference.out);
      end = std::min(end, limit + (2 << 20));
      continue;
    }
    ASSERT_EQ(run.exitStatus, 1) << run.err; // never a signal
    ASSERT_GE(run.out.size(), fatalReply.size());
    const std::size_t replyAt = run.out.size() - fatalReply.size();
    EXPECT_EQ(run.out.substr(replyAt), fatalReply);
    EXPECT_TRUE(isLinePrefix(run.out.substr(0, replyAt), reference.out))
        << run.out.substr(0, replyAt);
    if (replyAt > 0)
      ++failedAfterGreeting;
  }
  EXPECT_LT(end, 256u << 20) << "the session never completed";
  EXPECT_GE(failedAfterGreeting, 3); // the sweep did reach the requests
}

} // namespace
} // namespace orvela
