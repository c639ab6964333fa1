#include "LanguageTest.h"
#include "symbolic/ClockInfo.h"
#include "symbolic/GlobalState.h"

#include <gtest/gtest.h>

#include <climits>

namespace orvela {
namespace {

using test::edgeOf;
using test::parse;
using test::Parsed;

constexpr int infinity = INT_MAX;
constexpr int lessEqual(int c) { return 2 * c + 1; }

std::set<int> activeClocks(const Parsed& parsed, int process, int location) {
  return parsed.system->getProcess(process)->getControlState(location)->getActiveClocks();
}

TEST(WholeDescription, AResetClockIsInactiveBeforeTheReset) {
  const std::string body = "process P { clock x, y; state s0 {INVARIANT}, s1; init s0; trans "
                           "s0 -> s1 { assign x := 0; }, s1 -> s0 { guard x > 2; }; }\n"
                           "system P;";
  const auto with = [&](const std::string& invariant) {
    std::string text = body;
    text.replace(text.find("{INVARIANT}"), 11, invariant);
    Parsed parsed = parse(text);
    EXPECT_TRUE(parsed.system) << parsed.messages;
    parsed.system->propagateClocks({});
    return parsed;
  };
  // A constraint reads both of its clocks, the reference clock 0 included.
  Parsed plain = with("");
  EXPECT_EQ(activeClocks(plain, 0, 0), std::set<int>{0});
  EXPECT_EQ(activeClocks(plain, 0, 1), (std::set<int>{0, 1}));
  Parsed bounded = with("{ y < 5 }");
  EXPECT_EQ(activeClocks(bounded, 0, 0), (std::set<int>{0, 2}));
  EXPECT_EQ(activeClocks(bounded, 0, 1), (std::set<int>{0, 1, 2}));
  Parsed reading = with("{ x <= 9 }");
  EXPECT_EQ(activeClocks(reading, 0, 0), (std::set<int>{0, 1}));
  // The extra clocks of a property reach every location, unpropagated.
  plain.system->propagateClocks({2});
  EXPECT_EQ(activeClocks(plain, 0, 0), (std::set<int>{0, 2}));
  EXPECT_EQ(activeClocks(plain, 0, 1), (std::set<int>{0, 1, 2}));
}

// A zone of the system's clocks with every clock non-negative and unbounded.
struct FreeZone {
  explicit FreeZone(int clocks) : zone(UnpackedRegion::create(clocks, true)) {}
  ~FreeZone() { Region::remove(zone); }
  UnpackedRegion* zone;
};

TEST(WholeDescription, SteppingBackUndoesResetsAndAppliesGuards) {
  Parsed parsed = parse("clock x, y; chan c;\n"
                        "process A { state a0, a1; init a0; trans a0 -> a1 { guard x >= 3; "
                        "sync c!; assign x := 0; }; }\n"
                        "process B { state b0, b1; init b0; trans b0 -> b1 { guard y <= 8; "
                        "sync c?; assign y := x + 1; }; }\n"
                        "system A, B;");
  ASSERT_TRUE(parsed.system) << parsed.messages;
  Pointer<GlobalState> state = parsed.system->calcInitial();
  const Transition* send = &edgeOf(parsed, 0, 0);
  const Transition* receive = &edgeOf(parsed, 1, 0);
  {
    // After A's edge alone: x = 0 and y >= 5.
    FreeZone after(3);
    after.zone->tightenRaw(1, 0, lessEqual(0));
    after.zone->tightenRaw(0, 2, lessEqual(-5));
    after.zone->close();
    EXPECT_TRUE(parsed.system->stepBack(state.get(), send, nullptr, after.zone));
    EXPECT_EQ(after.zone->get(0, 1), lessEqual(-3));
    EXPECT_EQ(after.zone->get(1, 0), infinity);
    EXPECT_EQ(after.zone->get(0, 2), lessEqual(-5));
    EXPECT_EQ(after.zone->get(2, 0), infinity);
  }
  {
    // After the synchronisation: x = 0 and y = x + 1 = 1 (a copy, then a
    // shift). Before it: x >= 3 from A's guard, y free but y <= 8.
    FreeZone after(3);
    after.zone->tightenRaw(1, 0, lessEqual(0));
    after.zone->tightenRaw(2, 0, lessEqual(1));
    after.zone->tightenRaw(0, 2, lessEqual(-1));
    after.zone->close();
    const Transition* move[] = {send, receive, nullptr};
    EXPECT_TRUE(parsed.system->stepBack(state.get(), move, after.zone));
    EXPECT_FALSE(after.zone->isEmpty());
    EXPECT_EQ(after.zone->get(0, 1), lessEqual(-3));
    EXPECT_EQ(after.zone->get(1, 0), infinity);
    EXPECT_EQ(after.zone->get(2, 0), lessEqual(8));
    EXPECT_EQ(after.zone->get(0, 2), lessEqual(0));
  }
}

} // namespace
} // namespace orvela
