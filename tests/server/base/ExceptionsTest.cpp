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

TEST(ExceptionsTest, KindsAreDistinctAndCaughtAsStdException) {
  static_assert(!std::is_same_v<ProtocolError, InputError>);
  static_assert(std::is_base_of_v<std::exception, RuntimeError>);
  try {
    throw RuntimeError("Memory allocation failed !!");
  } catch (const ProtocolError&) {
    FAIL() << "caught as the wrong kind";
  } catch (const std::exception& error) {
    EXPECT_STREQ(error.what(), "Memory allocation failed !!");
  }
}

} // namespace
} // namespace orvela
