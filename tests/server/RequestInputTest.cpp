#include "server/RequestInput.h"

#include "base/Exceptions.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvela {
namespace {

/// Feeds `text` to the request routines as if the client had sent it.
class RequestInputTest : public ::testing::Test {
protected:
  void send(const std::string& text) {
    input.str(text);
    input.clear();
  }

  std::istringstream input;
};

TEST_F(RequestInputTest, BodyWithCarriageReturnsArrivesWithoutThem) {
  send("a\r\nb\r\n.\r\nversion\n");
  std::ostringstream body;
  ASSERT_TRUE(spoolToTemp(input, body));
  EXPECT_EQ(body.str(), "a\nb\n");
  std::string next;
  ASSERT_TRUE(readServiceLine(input, next));
  EXPECT_EQ(next, "version"); // the "." line was consumed, nothing more
}

TEST_F(RequestInputTest, BlankLineBodyIsOneNewline) {
  send("\n.\n");
  std::ostringstream body;
  ASSERT_TRUE(spoolToTemp(input, body));
  EXPECT_EQ(body.str(), "\n");
}

TEST_F(RequestInputTest, DotLineAloneIsNotATerminator) {
  // The first three characters form the window, so a body cannot start with
  // its terminator: ".\n" followed by end of input is an unterminated body.
  send(".\n");
  std::ostringstream body;
  EXPECT_FALSE(spoolToTemp(input, body));
}

TEST_F(RequestInputTest, DotInsideALineIsKept) {
  send("x.y\n.5\n.\n");
  std::ostringstream body;
  ASSERT_TRUE(spoolToTemp(input, body));
  EXPECT_EQ(body.str(), "x.y\n.5\n");
}

TEST_F(RequestInputTest, EndOfInputInsideABodyFails) {
  send("process P {\n  state a;\n");
  std::ostringstream body;
  EXPECT_FALSE(spoolToTemp(input, body));
  send("ab");
  EXPECT_FALSE(spoolToTemp(input, body));
}

TEST_F(RequestInputTest, GetSkipsCarriageReturns) {
  send("\r\r\rx\r");
  EXPECT_EQ(get(input), 'x');
  get(input);
  EXPECT_TRUE(input.eof());
}

TEST_F(RequestInputTest, OverLongServiceLineKeepsEighteenCharactersAndDropsTheRest) {
  send("abcdefghijklmnopqrstuvwxyz\nquit\n");
  std::string line;
  ASSERT_TRUE(readServiceLine(input, line));
  EXPECT_EQ(line, "abcdefghijklmnopqr");
  ASSERT_TRUE(readServiceLine(input, line));
  EXPECT_EQ(line, "quit");
  EXPECT_FALSE(readServiceLine(input, line));
}

TEST_F(RequestInputTest, LastServiceLineWithoutNewlineIsRead) {
  send("version");
  std::string line;
  ASSERT_TRUE(readServiceLine(input, line));
  EXPECT_EQ(line, "version");
  EXPECT_FALSE(readServiceLine(input, line));
}

TEST_F(RequestInputTest, RequestLineOfNinetyEightCharactersIsAccepted) {
  const std::string longest(requestLineLimit, '7');
  send(longest + "\n1\n");
  EXPECT_EQ(readRequestLine(input), longest);
  EXPECT_EQ(readRequestLine(input), "1");
}

TEST_F(RequestInputTest, OverLongRequestLineIsRejectedAndSkipped) {
  send(std::string(requestLineLimit + 1, '7') + "\n42\n");
  EXPECT_THROW(readRequestLine(input), ProtocolError);
  EXPECT_EQ(readRequestLine(input), "42");
}

TEST_F(RequestInputTest, EndOfInputBeforeARequestLineIsAProtocolError) {
  send("");
  EXPECT_THROW(readRequestLine(input), ProtocolError);
}

} // namespace
} // namespace orvela
