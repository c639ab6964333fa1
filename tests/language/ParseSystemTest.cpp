#include "language/ParseSystem.h"

#include "LanguageTest.h"
#include "base/Exceptions.h"
#include "language/ParseProperty.h"
#include "model/ModelTables.h"
#include "support/SearchHarness.h"
#include "symbolic/GlobalState.h"

#include <gtest/gtest.h>

#include <thread>

namespace orvela {
namespace {

using test::parse;
using test::Parsed;

std::string names(const System& system) {
  const ModelTables& tables = system.tables();
  std::string result;
  for (const IntegerInfo& info : tables.integers)
    result += std::string(info.name.c_str()) + ' ';
  result += '|';
  for (const ClockInfo& clock : tables.clocks)
    result += std::string(clock.name.c_str()) + ' ';
  result += '|';
  for (const ChannelInfo& channel : tables.channels)
    result += std::string(channel.name.c_str()) + ' ';
  return result;
}

const char* const first = "int n; chan c; clock x;\n"
                          "process P { int k; state s, t; init s; trans s -> t { sync c!; "
                          "assign k := n, x := 0; }; }\n"
                          "process Q { state q; init q; trans q -> q { sync c?; }; }\n"
                          "system P, Q;";
const char* const second = "urgent chan d; chan e; int [0,1] m := 1;\n"
                           "process R { clock y; state r; init r; trans r -> r { sync d!; }; }\n"
                           "process S { state s; init s; trans s -> s { sync d?; }; }\n"
                           "system S, R;";

TEST(ParseSystem, EveryDescriptionStartsFromEmptyTables) {
  Parsed one = parse(first);
  ASSERT_TRUE(one.system) << one.messages;
  EXPECT_EQ(names(*one.system), "n P.k |t(0) x |c ");
  Parsed two = parse(second);
  ASSERT_TRUE(two.system) << two.messages;
  EXPECT_EQ(names(*two.system), "m |t(0) R.y |d e ");
  EXPECT_EQ(names(*one.system), "n P.k |t(0) x |c ");
  EXPECT_EQ(two.system->symbols()->getType("P"), -1);
  EXPECT_EQ(two.system->symbols()->getId("R"), 0);
  EXPECT_EQ(two.system->symbols()->getData("d"), 1);
  // The second model's states are shaped by its own tables.
  Pointer<GlobalState> state = two.system->calcInitial();
  EXPECT_EQ(state->getIntegerTable()->getCount(), 1);
  EXPECT_EQ(state->getIntegerReference()[0], 1);
  EXPECT_EQ(state->getUnpackedRegion()->getDim(), 2u);
  EXPECT_TRUE(two.system->hasUrgentTransitions(state.get()));
  EXPECT_STREQ(two.system->getProcess(0)->getName(), "S");
  // The first model still works on its own objects.
  EXPECT_EQ(one.system->getProcess(1)->getTransitions()[0]->getSyncText(), "c?");
  Parsed again = parse(first);
  ASSERT_TRUE(again.system) << again.messages;
  EXPECT_EQ(names(*again.system), "n P.k |t(0) x |c ");
  EXPECT_EQ(again.system->symbols()->getData("P"), 1);
  EXPECT_EQ(again.system->symbols()->getData("Q"), (1 << 16) | 2);
}

TEST(ParseSystem, AFailedDescriptionLeavesThePreviousModelAlone) {
  Parsed one = parse(first);
  ASSERT_TRUE(one.system);
  std::ostringstream dump;
  dump << *one.system->symbols();
  Parsed failed = parse("int a, b; chan z; clock w;\nprocess P { state s; init t; }\nsystem P;");
  EXPECT_FALSE(failed.system);
  EXPECT_EQ(failed.messages, "Error at line 2 : parse error\n");
  std::ostringstream after;
  after << *one.system->symbols();
  EXPECT_EQ(after.str(), dump.str());
  // A failure in the middle of a process block does not spoil the next parse.
  EXPECT_FALSE(parse("process P { int k; state s; init s; trans s -> s { assign k := @; }; }"
                     " system P;")
                   .system);
  EXPECT_TRUE(parse(second).system);
}

TEST(ParseSystem, AScannerFailureIsThrownAndUndone) {
  ASSERT_TRUE(parse(second).system);
  std::istringstream broken("int q; chan k;");
  broken.setstate(std::ios::badbit);
  std::ostringstream errors;
  EXPECT_THROW(parseSystem(broken, errors), RuntimeError);
  EXPECT_TRUE(parse(first).system);
}

// Two models parsed, their properties parsed and searched, at the same time
// from two threads, many times over: each search must give the answer it
// gives alone, so nothing of one parse or model (names, tables, states,
// lists) may reach the other.
TEST(ParseSystem, TwoModelsAreSearchedSideBySideFromTwoThreads) {
  const std::string counter = "int [0,5] n; clock x;\n"
                              "process P { state s {x <= 2}, t; init s; trans "
                              "s -> s { guard x >= 1, n < 5; assign n := n + 1, x := 0; }, "
                              "s -> t { guard n == 5; }; }\nsystem P;";
  const std::string blocked = "clock y, z, w;\n"
                              "process R { state a {y <= 3}, b; init a; trans "
                              "a -> a { guard y >= 1; assign w := 0; }, "
                              "a -> b { guard y >= 2, z < 1; }; }\nsystem R;";
  struct Answer {
    bool found;
    std::size_t kept;
    std::string messages;
    bool operator==(const Answer&) const = default;
  };
  const auto search = [](const std::string& text, const char* property) {
    test::Search model(text, false);
    std::string messages;
    const ParsedProperty goal = parseProperty(property, model.system, &messages);
    const bool found = goal.expression && model.reach(goal.expression);
    return Answer{found, model.kept(), messages};
  };
  const Answer expectedCounter = search(counter, "E<> P.t and n == 5");
  const Answer expectedBlocked = search(blocked, "E<> R.b");
  ASSERT_TRUE(expectedCounter.found);
  ASSERT_FALSE(expectedBlocked.found);

  Answer a{}, b{};
  const auto repeat = [&](Answer& answer, const std::string& text, const char* property,
                          const Answer& expected) {
    for (int round = 0; round < 40 && answer == Answer{}; ++round)
      if (Answer once = search(text, property); !(once == expected))
        answer = once;
  };
  std::thread one([&] { repeat(a, counter, "E<> P.t and n == 5", expectedCounter); });
  std::thread two([&] { repeat(b, blocked, "E<> R.b", expectedBlocked); });
  one.join();
  two.join();
  EXPECT_EQ(a, Answer{});
  EXPECT_EQ(b, Answer{});
}

} // namespace
} // namespace orvela
