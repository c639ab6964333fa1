// E[], A<> and leads-to checks through a session on hand-derived cases.

#include "session/Session.h"
#include "support/ModelText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace orvela {
namespace {

using Steps = std::vector<std::string>;

/// A session that keeps traces, with the model of `text` loaded.
struct Checked {
  explicit Checked(const std::string& text) {
    std::istringstream description(text);
    session.loadSystem(description);
    session.setOption("trace", '1');
  }
  CheckResult check(const std::string& property) {
    std::istringstream line(property);
    return session.check(line);
  }
  bool holds(const std::string& property) { return check(property).verdict == 'T'; }
  Session session;
};

/// The moves of a trace, one string per step ("P.a>b").
Steps steps(const Pointer<Trace>& trace) {
  Steps names;
  for (trace->reset(); !trace->atEnd(); trace->next())
    names.push_back(test::moveName(trace->getCurrent()));
  return names;
}

/// `text` with its first `from` replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

// A and B must be left within 2; C is left at once or never (D or stay).
const char* const chain = "clock x;\n"
                          "process P { state A {x <= 2}, B {x <= 2}, C, D, E; init A;\n"
                          "  trans A -> B { assign x := 0; }, B -> C { assign x := 0; },\n"
                          "        C -> D {}; }\n"
                          "system P;";
// L is entered at y = t in [0, 3] with x = 0. The property allows x <= 2,
// then x >= 2 with y >= 5: only t = 3 crosses from the first part into the
// second without a gap. With y <= 5 L2 is open to valuations that all crossed
// a gap on their way; with y >= 6, t = 3 gets there.
const char* const gapModel = "clock x, y;\n"
                             "process P { state L0 {y <= 3}, L {x <= 4}, L2, Bad; init L0;\n"
                             "  trans L0 -> L { assign x := 0; }, L -> L2 { GUARD }, L -> Bad {};"
                             " }\n"
                             "system P;";
const char* const gapProperty =
    "E[] P.L0 or (P.L and x <= 2) or (P.L and x >= 2 and y >= 5) or P.L2";
// Verdicts derived by hand, each model with its properties.
TEST(Liveness, VerdictsOfHandDerivedCases) {
  const std::pair<std::string, std::vector<std::pair<const char*, bool>>> cases[] = {
      // L is entered at y in [0, 5] with x = 0; M needs y >= 6 before x passes
      // 3. Taking the resetting move back must limit its start to what
      // waiting in L reaches, or every valuation of L looks as if it could
      // move.
      {"clock x, y;\n"
       "process P { state L0 {y <= 5}, L {x <= 3}, M; init L0;\n"
       "  trans L0 -> L { assign x := 0; }, L -> M { guard y >= 6; assign x := 0; }; }\n"
       "system P;",
       {{"E[] not P.M", true}, {"A<> P.M", false}}},
      // L can always be left, so only waiting in L forever keeps the
      // property: a delay goes on from one disjunct into the next, but not
      // over x = 2 or over (2, 3) where neither holds.
      {"clock x;\nprocess P { state L, Out; init L; trans L -> Out {}; }\nsystem P;",
       {{"E[] P.L and (x <= 2 or x >= 2)", true},
        {"E[] (P.L and x >= 5) or (P.L and x <= 1) or (P.L and x >= 1 and x <= 5)", true},
        {"E[] P.L and (x < 2 or x > 2)", false},
        {"E[] P.L and (x <= 2 or x >= 3)", false}}},
      {replaced(gapModel, "GUARD", "guard x >= 3, y <= 5;"), {{gapProperty, false}}},
      {replaced(gapModel, "GUARD", "guard x >= 3, y >= 6;"), {{gapProperty, true}}},
      // Leads-to: p and q in the same states, q always reached, C may stay
      // forever, time passes in C and D alike.
      {chain,
       {{"P.A --> P.C", true},
        {"P.B and x >= 1 --> P.B or P.C", true},
        {"P.C --> P.D", false},
        {"P.C --> x > 3", true}}},
  };
  for (const auto& [model, checks] : cases) {
    SCOPED_TRACE(model);
    Checked h(model);
    for (const auto& [property, holds] : checks)
      EXPECT_EQ(h.holds(property), holds) << property;
  }
}

// G is reached with y - x in [0, 10]. The round through P1 keeps y and needs
// y <= 10, so it ends; the round through P2 resets y and goes on forever. The
// P1 branch is searched first and returns to G in a zone that the path's G
// includes; the P2 branch then reaches U in a zone that the P1 branch's U
// includes. A witness exists only through P2.
TEST(Liveness, ALoopThroughAStateThatThePathCoversIsFound) {
  Checked h("clock x, y;\n"
            "process P { state Init {y <= 10}, G {x <= 2}, P1 {x <= 2}, P2 {x <= 2},\n"
            "    U {x <= 2}, Sink; init Init;\n"
            "  trans Init -> G { assign x := 0; },\n"
            "        G -> P2 { assign x := 0, y := 0; },\n"
            "        G -> P1 { guard y <= 10; },\n"
            "        P1 -> U {}, P2 -> U {},\n"
            "        U -> G { guard x >= 1, y <= 10; assign x := 0; },\n"
            "        U -> Sink {}; }\n"
            "system P;");
  const CheckResult result = h.check("E[] not P.Sink");
  ASSERT_EQ(result.verdict, 'T');
  const Steps cycle = steps(result.trace.loop);
  EXPECT_NE(std::find(cycle.begin(), cycle.end(), "P.G>P2"), cycle.end());
  EXPECT_FALSE(h.holds("A<> P.Sink"));
}

// Two moves lead from l0 to l1 into the same zone. The one searched first
// needs y <= 0, so its round cannot be repeated, and the state that closes it
// lies within the start state of the path. The round through the other move,
// taken again and again at x = 2, is the witness: it is only found if states
// that a state on the path covers are searched too.
TEST(Liveness, AZenoLoopBehindACoveredStateIsFound) {
  Checked h("clock x, y;\n"
            "process P { state l0 {x <= 2}, l1 {x <= 2}; init l0;\n"
            "  trans l0 -> l1 {}, l0 -> l1 { guard y <= 0; }, l1 -> l0 { guard x >= 2; }; }\n"
            "system P;");
  const CheckResult result = h.check("E[] P.l0 or P.l1");
  ASSERT_EQ(result.verdict, 'T');
  EXPECT_FALSE(steps(result.trace.loop).empty());
  EXPECT_FALSE(h.holds("A<> y > 2"));
}

TEST(LeadsTo, ACounterexampleLeadsToWhereTimePassesForever) {
  Checked h(chain);
  // C may stay forever; after B, A never comes back.
  const CheckResult back = h.check("P.B --> P.A");
  ASSERT_EQ(back.verdict, 'F');
  ASSERT_TRUE(back.hasTrace);
  EXPECT_EQ(steps(back.trace.path), (Steps{"P.A>B", "P.B>C"}));
  EXPECT_EQ(steps(back.trace.loop), Steps{});
}

} // namespace
} // namespace orvela
