// Which zone abstraction a session's checks run under, seen through what
// they answer.

#include "session/Session.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace orvela {
namespace {

// Clock ranges collected by a response-time analysis are read from the zones
// a search stores. Here x is only ever bounded by the invariant of a, never
// tested from below, so widening by lower and upper bounds would drop its
// upper bound 5: the collection must see the same ranges under every choice
// of extrapolation and subsumption.
TEST(AbstractionChoice, ClockRangesAreTheSameUnderEveryExtrapolation) {
  const auto ranges = [](char extrapolation, char subsumption) {
    Session session;
    std::istringstream model("clock x;\n"
                             "process P { state a {x <= 5}, b; init a; trans "
                             "a -> b {}, b -> a { assign x := 0; }; }\nsystem P;");
    session.loadSystem(model);
    session.setOption("extrapolation", extrapolation);
    session.setOption("subsumption", subsumption);
    session.initialize();
    session.analyses().startResponseTimeCollection(*session.system(), {{0, 0, 1}});
    std::istringstream property("A[] not (P.a and P.b)");
    EXPECT_EQ(session.check(property).verdict, 'T');
    std::vector<std::pair<int, int>> seen;
    for (const MinMaxFilter::Watch& watch : session.analyses().responseTimeWatches())
      seen.push_back(watch.second);
    return seen;
  };
  const auto exact = ranges('0', '0');
  ASSERT_EQ(exact.size(), 1u);
  EXPECT_NE(exact.front(), MinMaxFilter::nothingSeen);
  for (char extrapolation : {'1', '2', '3'})
    for (char subsumption : {'0', '1'})
      EXPECT_EQ(ranges(extrapolation, subsumption), exact) << extrapolation << subsumption;
}

} // namespace
} // namespace orvela
