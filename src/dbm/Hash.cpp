#include "dbm/Hash.h"

#include <bit>
#include <cstring>

namespace orvela {
namespace {

constexpr uint32_t goldenRatio = 0x9e3779b9;

// clang-format off
inline void mix(uint32_t& a, uint32_t& b, uint32_t& c) {
  a -= b; a -= c; a ^= c >> 13;
  b -= c; b -= a; b ^= a << 8;
  c -= a; c -= b; c ^= b >> 13;
  a -= b; a -= c; a ^= c >> 12;
  b -= c; b -= a; b ^= a << 16;
  c -= a; c -= b; c ^= b >> 5;
  a -= b; a -= c; a ^= c >> 3;
  b -= c; b -= a; b ^= a << 10;
  c -= a; c -= b; c ^= b >> 15;
}
// clang-format on

inline uint32_t littleEndianWord(const unsigned char* bytes) {
  uint32_t word;
  std::memcpy(&word, bytes, sizeof word);
  if constexpr (std::endian::native == std::endian::big)
    word = __builtin_bswap32(word);
  return word;
}

} // namespace

uint32_t hash(const void* key, std::size_t length, uint32_t initval) {
  const auto* k = static_cast<const unsigned char*>(key);
  uint32_t a = goldenRatio, b = goldenRatio, c = initval;
  std::size_t len = length;
  while (len >= 12) {
    a += littleEndianWord(k);
    b += littleEndianWord(k + 4);
    c += littleEndianWord(k + 8);
    mix(a, b, c);
    k += 12;
    len -= 12;
  }
  c += static_cast<uint32_t>(length);
  // The low byte of c carries the length, so the tail starts at its second byte.
  // clang-format off
  switch (len) {
  case 11: c += uint32_t(k[10]) << 24; [[fallthrough]];
  case 10: c += uint32_t(k[9]) << 16; [[fallthrough]];
  case 9: c += uint32_t(k[8]) << 8; [[fallthrough]];
  case 8: b += uint32_t(k[7]) << 24; [[fallthrough]];
  case 7: b += uint32_t(k[6]) << 16; [[fallthrough]];
  case 6: b += uint32_t(k[5]) << 8; [[fallthrough]];
  case 5: b += k[4]; [[fallthrough]];
  case 4: a += uint32_t(k[3]) << 24; [[fallthrough]];
  case 3: a += uint32_t(k[2]) << 16; [[fallthrough]];
  case 2: a += uint32_t(k[1]) << 8; [[fallthrough]];
  case 1: a += k[0]; break;
  default: break;
  }
  // clang-format on
  mix(a, b, c);
  return c;
}

uint32_t hash2(const uint32_t* key, std::size_t length, uint32_t initval) {
  uint32_t a = goldenRatio, b = goldenRatio, c = initval;
  std::size_t len = length;
  while (len >= 3) {
    a += key[0];
    b += key[1];
    c += key[2];
    mix(a, b, c);
    key += 3;
    len -= 3;
  }
  c += static_cast<uint32_t>(length);
  switch (len) {
  case 2:
    b += key[1];
    [[fallthrough]];
  case 1:
    a += key[0];
    break;
  default:
    break;
  }
  mix(a, b, c);
  return c;
}

} // namespace orvela
