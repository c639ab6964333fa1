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

// A body runs up to a line holding only "."; carriage returns are dropped.
// A body cannot start with its terminator (the first three characters form
// the window), and end of input inside a body fails.
TEST_F(RequestInputTest, BodiesEndAtTheDotLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"a\r\nb\r\n.\r\nversion\n", "a\nb\n"}, {"\n.\n", "\n"},
      {"x.y\n.5\n.\n", "x.y\n.5\n"},          {".\n", nullptr},
      {"process P {\n  state a;\n", nullptr}, {"ab", nullptr},
  };
  for (const auto& [text, expected] : cases) {
    send(text);
    std::ostringstream body;
    ASSERT_EQ(spoolToTemp(input, body), expected != nullptr) << text;
    if (expected) {
      EXPECT_EQ(body.str(), expected) << text;
    }
  }
  send("a\n.\nversion\n");
  std::ostringstream body;
  ASSERT_TRUE(spoolToTemp(input, body));
  std::string next;
  ASSERT_TRUE(readServiceLine(input, next));
  EXPECT_EQ(next, "version"); // the "." line was consumed, nothing more
}

TEST_F(RequestInputTest, RequestLinesUpToTheLimitAreAcceptedAndLongerOnesSkipped) {
  const std::string longest(requestLineLimit, '7');
  send(longest + "\n" + longest + "7\n42\n");
  EXPECT_EQ(readRequestLine(input), longest);
  EXPECT_THROW(readRequestLine(input), ProtocolError);
  EXPECT_EQ(readRequestLine(input), "42");
  EXPECT_THROW(readRequestLine(input), ProtocolError); // end of input
}

} // namespace
} // namespace orvela
