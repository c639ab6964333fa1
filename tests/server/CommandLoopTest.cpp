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

TEST(CommandLoopProcess, GreetsAndEndsAtEndOfInput) {
  auto result = runServer("");
  EXPECT_EQ(result.out, greeting);
  EXPECT_EQ(result.exitStatus, 0);
}

TEST(CommandLoopProcess, GreetingComesBeforeAnyInput) {
  test::ChildProcess server(ORVELA_SERVER_PATH, {});
  std::string line;
  ASSERT_TRUE(server.readLine(line));
  EXPECT_EQ(line, "ok");
  ASSERT_TRUE(server.readLine(line));
  EXPECT_EQ(line, ".");
  server.write("version\n");
  ASSERT_TRUE(server.readLine(line));
  EXPECT_EQ(line, "ok"); // each reply line arrives without waiting for more input
  ASSERT_TRUE(server.readLine(line));
  EXPECT_EQ(line, versionBanner);
  server.write("quit\n");
  EXPECT_EQ(server.wait(), 0);
}

TEST(CommandLoopProcess, VersionAnswersThreeLines) {
  auto result = runServer("version\n");
  EXPECT_EQ(result.out, greeting + versionReply);
  EXPECT_EQ(result.exitStatus, 0);
}

TEST(CommandLoopProcess, QuitWritesNothingAndStopsReading) {
  auto result = runServer("quit\nversion\n");
  EXPECT_EQ(result.out, greeting);
  EXPECT_EQ(result.exitStatus, 0);
}

TEST(CommandLoopProcess, UnknownAndWrongCaseCommandsAreReportedAndServingGoesOn) {
  auto result = runServer("Version\nfoo\nversion\n");
  EXPECT_EQ(result.out, greeting + "error\nVersion: Unknown command\n.\n" +
                            "error\nfoo: Unknown command\n.\n" + versionReply);
  EXPECT_EQ(result.exitStatus, 0);
}

TEST(CommandLoopProcess, EmptyLinesAreSkippedSilently) {
  auto result = runServer("\n\n\nversion\n\n");
  EXPECT_EQ(result.out, greeting + versionReply);
}

TEST(CommandLoopProcess, OverLongLineIsReportedOnceByItsFirstEighteenCharacters) {
  auto result = runServer("versionversionversionversion\nversion\n");
  EXPECT_EQ(result.out,
            greeting + "error\nversionversionvers: Unknown command\n.\n" + versionReply);
  EXPECT_EQ(result.exitStatus, 0);
}

TEST(CommandLoopProcess, CarriageReturnLineEndsAreAccepted) {
  auto result = runServer("version\r\nquit\r\n");
  EXPECT_EQ(result.out, greeting + versionReply);
  EXPECT_EQ(result.exitStatus, 0);
}

TEST(CommandLoopProcess, LastLineWithoutNewlineIsServed) {
  auto result = runServer("version");
  EXPECT_EQ(result.out, greeting + versionReply);
}

TEST(CommandLoopProcess, BinaryGarbageIsAnsweredAndServingGoesOn) {
  std::string garbage("\x01\xff\x7f", 3);
  auto result = runServer(garbage + "\nversion\n");
  EXPECT_EQ(result.out, greeting + "error\n" + garbage + ": Unknown command\n.\n" + versionReply);
}

// In-process: a handler that fails with a given exception, to see how the
// loop answers each kind.
class CommandLoopInProcess : public ::testing::Test {
protected:
  static inline int kind = 0;
  static void failingHandler(const Client& client, Session&) {
    client.writeLine("partial");
    switch (kind) {
    case 0:
      throw ProtocolError("bad request %d", 7);
    case 1:
      throw InputError("Bad property\n");
    case 2:
      throw Bug("NI: %s", "void f()");
    default:
      throw RuntimeError("Memory allocation failed !!");
    }
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

TEST_F(CommandLoopInProcess, RequestErrorsAreAnsweredAndTheLoopGoesOn) {
  kind = 0;
  EXPECT_EQ(run("fail\nversion\n"), 0);
  EXPECT_EQ(out.str(), greeting + "partial\nerror\nbad request 7\n.\n" + versionReply);
}

TEST_F(CommandLoopInProcess, InputErrorMessageMaySpanLines) {
  kind = 1;
  EXPECT_EQ(run("fail\n"), 0);
  EXPECT_EQ(out.str(), greeting + "partial\nerror\nBad property\n\n.\n");
}

TEST_F(CommandLoopInProcess, BugEndsTheSessionWithStatusOne) {
  kind = 2;
  EXPECT_EQ(run("fail\nversion\n"), 1);
  EXPECT_EQ(out.str(), greeting + "partial\nerror\nCAUGHT EXCEPTION: NI: void f()\n.\n");
}

TEST_F(CommandLoopInProcess, RuntimeErrorEndsTheSessionWithStatusOne) {
  kind = 3;
  EXPECT_EQ(run("fail\nversion\n"), 1);
  EXPECT_EQ(out.str(),
            greeting + "partial\nerror\nCAUGHT EXCEPTION: Memory allocation failed !!\n.\n");
}

TEST(ServicesTest, AllThirteenServicesAreKnownByExactName) {
  const char* names[] = {"newSystem",    "getInitialState", "getTransitions", "modelCheck",
                         "setOptions",   "startState",      "quit",           "version",
                         "getSuccessor", "wcrtInit",        "wcrtCollect",    "domainInit",
                         "domainCollect"};
  for (int code = 0; code < 13; ++code) {
    const Service* service = findService(names[code]);
    ASSERT_NE(service, nullptr) << names[code];
    EXPECT_EQ(service->code, code);
  }
  EXPECT_EQ(findService("Quit"), nullptr);
  EXPECT_EQ(findService("versio"), nullptr);
  EXPECT_EQ(findService(""), nullptr);
}

} // namespace
} // namespace orvela
