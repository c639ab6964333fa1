// The command loop through the real server binary, byte for byte, and the
// fatal-failure path in-process.

#include "server/CommandLoop.h"
#include "base/Exceptions.h"
#include "server/Client.h"
#include "server/Services.h"
#include "session/Version.h"
#include "support/ServerProcess.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvela {
namespace {

using test::runServer;

const std::string greeting = "ok\n.\n";
const std::string versionReply = "ok\nORVELA version 1.0 Beta, Nov 2002 -- server.\n.\n";

// A shell coprocess reads each reply before it writes the next request: a
// reply held back until more input arrives makes a read time out.
TEST(CommandLoopProcess, GreetingComesBeforeAnyInput) {
  const char* const client = R"(coproc S { "$0"; }
    in=${S[0]} out=${S[1]}
    read -t 5 a <&$in; read -t 5 b <&$in; echo version >&$out
    read -t 5 c <&$in; read -t 5 d <&$in; exec {out}>&-
    wait $S_PID; echo "$a $b $c $d $?")";
  const auto result = test::runProcess("/bin/bash", {"-c", client, ORVELA_SERVER_PATH}, "");
  EXPECT_EQ(result.out, "ok . ok " + std::string(versionBanner) + " 0\n") << result.err;
}

// Whole sessions: the replies after the greeting, and a zero exit status.
TEST(CommandLoopProcess, SessionsAreAnsweredLineByLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"version\n", versionReply},
      {"quit\nversion\n", ""}, // quit writes nothing and stops reading
      {"\n\n\nversion\n\n", versionReply},
      {"version\r\nquit\r\n", versionReply},
      {"version", versionReply},
  };
  for (const auto& [input, replies] : cases) {
    auto result = runServer(input);
    EXPECT_EQ(result.out, greeting + replies) << input;
    EXPECT_EQ(result.exitStatus, 0) << input;
  }
}

// In-process: a handler that fails with a given exception, to see how the
// loop answers each kind.
class CommandLoopInProcess : public ::testing::Test {
protected:
  static inline int kind = 0;
  static void failingHandler(const Client& client, Session&) {
    client.writeLine("partial");
    if (kind == 0)
      throw ProtocolError("bad request %d", 7);
    throw Bug("NI: %s", "void f()");
  }
  static const Service* lookup(std::string_view name) {
    static const Service fail{"fail", 99, failingHandler};
    return name == "fail" ? &fail : findService(name);
  }
  int run(const std::string& text) {
    std::istringstream in(text);
    return CommandLoop(in, out, lookup).run();
  }
  std::ostringstream out;
};

// A request error is answered and the loop goes on; a bug ends the session
// with status 1 (a runtime failure: MemoryExhaustion; an input error: the
// services' transcripts).
TEST_F(CommandLoopInProcess, EachKindOfFailureIsAnsweredByItsRule) {
  const std::string replies[] = {
      "partial\nerror\nbad request 7\n.\n" + versionReply,
      "partial\nerror\nCAUGHT EXCEPTION: NI: void f()\n.\n",
  };
  for (kind = 0; kind < 2; ++kind) {
    out.str("");
    EXPECT_EQ(run("fail\nversion\n"), kind) << kind;
    EXPECT_EQ(out.str(), greeting + replies[kind]) << kind;
  }
}

} // namespace
} // namespace orvela
