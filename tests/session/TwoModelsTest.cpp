// Two models in one process, each parsed and searched from its own thread.

#include "language/ParseProperty.h"
#include "support/SearchHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace orvela {
namespace {

// Two models parsed, their properties parsed and searched, at the same time
// from two threads, many times over: each search must give the answer it
// gives alone, so nothing of one parse or model (names, tables, states,
// lists) may reach the other.
TEST(TwoModels, AreParsedAndSearchedSideBySideFromTwoThreads) {
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
