#include "base/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

namespace orvela {
namespace {

TEST(ExceptionsTest, MessageIsFormattedPrintfStyle) {
  ProtocolError error("%s: Unknown command", "Version");
  EXPECT_STREQ(error.what(), "Version: Unknown command");
  EXPECT_STREQ(Bug("NI: %s", "f()").what(), "NI: f()");
}

TEST(ExceptionsTest, LongMessageIsCutAt255Characters) {
  std::string longText(400, 'a');
  InputError error("%s", longText.c_str());
  EXPECT_EQ(std::string(error.what()), std::string(255, 'a'));
}

} // namespace
} // namespace orvela
