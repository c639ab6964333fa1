#include "dbm/Hash.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace orvela {
namespace {

// Expected values computed with an independent implementation of lookup2.
TEST(Hash, ByteHashMatchesReferenceValuesForEveryTailLength) {
  std::vector<unsigned char> key;
  for (int b = 1; b < 40; ++b)
    key.push_back(static_cast<unsigned char>(b));
  const struct {
    std::size_t length;
    uint32_t expected;
  } cases[] = {{0, 0xbd49d10d},  {1, 0xb93913a8},  {4, 0x8c353ddc},  {5, 0x6fe47f27},
               {8, 0x9630e022},  {9, 0x837ab0a2},  {11, 0x95de59c9}, {12, 0xaaa20801},
               {13, 0x41fa9c2d}, {24, 0xe4762887}, {25, 0x41621a69}, {39, 0xab38a5af}};
  for (const auto& c : cases)
    EXPECT_EQ(hash(key.data(), c.length, 0), c.expected) << "length " << c.length;
  const char text[] = "The quick brown fox jumps over the lazy dog";
  EXPECT_EQ(hash(text, sizeof text - 1, 23235), 0x109da3b5u);
}

TEST(Hash, WordHashMatchesReferenceValuesAndChains) {
  const uint32_t words[] = {1, 2, 3, 4, 5, 6, 7};
  EXPECT_EQ(hash2(words, 0, 0), 0xbd49d10du);
  EXPECT_EQ(hash2(words, 1, 0), 0xb93913a8u);
  EXPECT_EQ(hash2(words, 2, 7), 0x08e53c85u);
  EXPECT_EQ(hash2(words, 7, 0), 0xe827237bu);
  const uint32_t nine = 9;
  EXPECT_EQ(hash2(words, 7, hash2(&nine, 1, 0)), 0xb1ddc5eeu);
  const int32_t bounds[] = {-0x7fffffff, 0x7fffffff, 1};
  EXPECT_EQ(hash2(bounds, 3, 23235), 0xd46b7b59u);
}

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
