#include "base/Exceptions.h"

#include <gtest/gtest.h>

#include <string>

namespace orvela {
namespace {

TEST(ExceptionsTest, LongMessageIsCutAt255Characters) {
  std::string longText(400, 'a');
  InputError error("%s", longText.c_str());
  EXPECT_EQ(std::string(error.what()), std::string(255, 'a'));
}

} // namespace
} // namespace orvela
