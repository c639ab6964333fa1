// Reading states and integers in their wire form, in-process, where the
// transcripts cannot reach: bounds at the limit of the zones, and integers
// as the scanner reads them. Written states and edges, and the items of
// watch lists: the transcripts.

#include "server/WireFormat.h"

#include "base/Exceptions.h"
#include "dbm/RawBound.h"
#include "language/ParseSystem.h"
#include "symbolic/UnpackedRegion.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvela {
namespace {

// A bound travels with a constant up to the limit of the zones (both
// strictnesses, upper and lower); the next constant is the infinite bound the
// server never writes, read as no bound; any other beyond the limit is
// refused, not taken for another bound.
TEST(WireFormat, BoundsUpToTheLimitOfTheZonesAreKeptExactlyAndLargerOnesRefused) {
  std::string messages;
  const Pointer<System> system =
      parseSystem("clock x; process P { state a; init a; }\nsystem P;", &messages);
  ASSERT_TRUE(system) << messages;
  constexpr int L = maximalClockConstant;
  struct Case {
    unsigned i, j;
    int wire;
    int32_t kept; // the raw bound stored; 0: refused
  };
  const Case cases[] = {
      {1, 0, 2 * L, 2 * L + 1},       {1, 0, 2 * L + 1, 2 * L},   {1, 0, 2 * L + 2, rawInfinity},
      {1, 0, 2 * L + 3, rawInfinity}, {0, 1, -2 * L, -2 * L + 1}, {0, 1, -2 * L + 1, -2 * L},
      {0, 1, -2 * L - 1, 0},          {0, 1, -2 * L - 2, 0},      {1, 0, -2 * L - 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wire);
    std::istringstream input("0\n.\n" + std::to_string(c.i) + "\n" + std::to_string(c.j) + "\n" +
                             std::to_string(c.wire) + "\n.\n.\n.\n");
    try {
      EXPECT_EQ(read(input, *system)->getUnpackedRegion()->get(c.i, c.j), c.kept);
      EXPECT_NE(c.kept, 0) << "not refused";
    } catch (const ProtocolError& error) {
      EXPECT_STREQ(error.what(), c.kept ? "not refused" : "Bound out of range in constraint");
    }
  }
}

TEST(WireFormat, IntegersAreReadLikeScanfDecimal) {
  EXPECT_EQ(getInteger("42"), 42);
  EXPECT_EQ(getInteger("  -17 trailing"), -17);
  EXPECT_EQ(getInteger("+8"), 8);
  EXPECT_EQ(getInteger("-2147483648"), -2147483648);
  for (const char* bad : {"", " ", "-", "2147483648", "99999999999999999999"})
    EXPECT_THROW(getInteger(bad), ProtocolError) << bad;
}

} // namespace
} // namespace orvela
