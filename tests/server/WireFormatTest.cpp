// Writing and reading states, transitions and integers in their wire form,
// in-process over redirected client streams, on small parsed models.

#include "server/WireFormat.h"

#include "base/Exceptions.h"
#include "dbm/RawBound.h"
#include "language/ParseSystem.h"
#include "server/Client.h"
#include "symbolic/GlobalState.h"
#include "symbolic/UnpackedRegion.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvela {
namespace {

class WireFormatTest : public ::testing::Test {
protected:
  void load(const std::string& description) {
    std::string messages;
    system = parseSystem(description, &messages);
    ASSERT_TRUE(system) << messages;
  }
  void send(const std::string& text) {
    input.str(text);
    input.clear();
    output.str("");
  }
  std::string written(const GlobalState* state, ZoneFormat format) {
    output.str("");
    writeGlobalState(client, state, format);
    return output.str();
  }
  /// The message of the ProtocolError that reading `text` as a state throws.
  std::string readError(const std::string& text) {
    send(text);
    try {
      read(input, *system);
    } catch (const ProtocolError& error) {
      return error.what();
    }
    return "no error";
  }
  /// The initial state of the model with clock 1 restricted by the raw
  /// bounds (1, 0) and (0, 1).
  Pointer<GlobalState> initialWith(int32_t upper, int32_t lower) {
    Pointer<GlobalState> state = system->calcInitial();
    state->delayAction();
    state->tighten(1, 0, upper);
    state->tighten(0, 1, lower);
    EXPECT_TRUE(state->ok());
    return state;
  }

  Pointer<System> system;
  std::istringstream input;
  std::ostringstream output;
  Client client{input, output};
};

TEST_F(WireFormatTest, BoundsTravelWithTheirStrictnessBitInverted) {
  load("clock x; int [-9,9] i, j; process P { state a, b; init b; }\nsystem P;");
  // x <= 5 and x >= 0
  EXPECT_EQ(written(initialWith(11, 1).get(), ZoneFormat::minimal),
            "1\n.\n1\n0\n10\n.\n.\n0\n0\n.\n");
  // x < 5 and x > 3: the reference clock minus x is below -3
  EXPECT_EQ(written(initialWith(10, -6).get(), ZoneFormat::minimal),
            "1\n.\n0\n1\n-5\n.\n1\n0\n11\n.\n.\n0\n0\n.\n");
  // every finite entry, the diagonal and x >= 0 included
  EXPECT_EQ(written(initialWith(11, 1).get(), ZoneFormat::full),
            "1\n.\n0\n0\n0\n.\n0\n1\n0\n.\n1\n0\n10\n.\n1\n1\n0\n.\n.\n0\n0\n.\n");
}

// A bound travels with a constant up to the limit of the zones (both
// strictnesses, upper and lower); the next constant is the infinite bound the
// server never writes, read as no bound; any other beyond the limit is
// refused, not taken for another bound.
TEST_F(WireFormatTest, BoundsUpToTheLimitOfTheZonesAreKeptExactlyAndLargerOnesRefused) {
  load("clock x; process P { state a; init a; }\nsystem P;");
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
    const std::string text = "0\n.\n" + std::to_string(c.i) + "\n" + std::to_string(c.j) + "\n" +
                             std::to_string(c.wire) + "\n.\n.\n.\n";
    if (!c.kept) {
      EXPECT_EQ(readError(text), "Bound out of range in constraint");
      continue;
    }
    send(text);
    EXPECT_EQ(read(input, *system)->getUnpackedRegion()->get(c.i, c.j), c.kept);
  }
}

TEST_F(WireFormatTest, TransitionsAreWrittenFromOneAndReferredToFromZero) {
  load("process P { state a, b; init a; trans a -> b {}, b -> a {}, a -> a {}; }\n"
       "process Q { state c; init c; trans c -> c {}; }\nsystem Q, P;");
  send("1\n2\n0\n0\n");
  const Transition* third = readTransition(input, *system);
  EXPECT_EQ(third, system->getProcess(1)->getTransitions()[2].get());
  EXPECT_EQ(readTransition(input, *system), system->getProcess(0)->getTransitions()[0].get());
  output.str("");
  write(client, third);
  EXPECT_EQ(output.str(), "1 3\n");
}

TEST_F(WireFormatTest, IntegersAreReadLikeScanfDecimal) {
  EXPECT_EQ(getInteger("42"), 42);
  EXPECT_EQ(getInteger("  -17 trailing"), -17);
  EXPECT_EQ(getInteger("+8"), 8);
  EXPECT_EQ(getInteger("-2147483648"), -2147483648);
  for (const char* bad : {"", " ", "x1", "-", "2147483648", "99999999999999999999"})
    EXPECT_THROW(getInteger(bad), ProtocolError) << bad;
  int values[3] = {0, 0, 0};
  EXPECT_TRUE(scanIntegers(" 1\t-2  3 rest", values, 3));
  EXPECT_EQ(values[0] * 100 + values[1] * 10 + values[2], 1 * 100 - 2 * 10 + 3);
  EXPECT_FALSE(scanIntegers("1 2", values, 3));
  EXPECT_FALSE(scanIntegers("1 x 3", values, 3));
}

} // namespace
} // namespace orvela
