#include "dbm/Hash.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace orvela {
namespace {

TEST(Hash, EveryKeyBitChangesTheHash) {
  std::vector<unsigned char> key(25, 0x5a);
  const uint32_t base = hash(key.data(), key.size(), 0);
  std::set<uint32_t> seen{base};
  for (std::size_t bit = 0; bit < key.size() * 8; ++bit) {
    key[bit / 8] ^= static_cast<unsigned char>(1u << (bit % 8));
    seen.insert(hash(key.data(), key.size(), 0));
    key[bit / 8] ^= static_cast<unsigned char>(1u << (bit % 8));
  }
  EXPECT_EQ(seen.size(), key.size() * 8 + 1);
  // The length takes part too: a trailing zero byte is not ignored.
  key[24] = 0;
  EXPECT_NE(hash(key.data(), 24, 0), hash(key.data(), 25, 0));
}

} // namespace
} // namespace orvela
