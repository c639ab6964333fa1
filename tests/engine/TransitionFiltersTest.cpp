#include "EngineProbes.h"
#include "engine/Adapters.h"
#include "engine/SearchTransitionFilter.h"
#include "engine/TransitionFilter.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace orvela {
namespace {

using test::HeldState;
using test::loadSystem;
using test::Model;
using test::MoveRecorder;
using Moves = std::vector<std::string>;

/// The moves of a model's initial state through a `SearchTransitionFilter`.
Moves movesOf(Model& model) {
  Pointer<Filter> filter = createSearchTransitionFilter(model.system, model.allocator);
  MoveRecorder recorder(model.allocator.get());
  filter->setSink(&recorder);
  HeldState held(model.initial.get());
  EXPECT_TRUE(filter->tryPut(&held));
  return recorder.moves;
}

/// `text` with its first `from` replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

/// `text` with every "@" replaced by `mark`.
std::string marked(std::string text, const std::string& mark) {
  for (std::size_t at; (at = text.find('@')) != std::string::npos;)
    text.replace(at, 1, mark);
  return text;
}

// Committed broadcast: a committed location C elsewhere; P sends, Q receives.
const char* const committedBroadcast =
    "broadcast chan b;\n"
    "process P { state s0, s1; @ init s0; trans s0 -> s1 { sync b!; }; }\n"
    "process Q { state q0, q1; init q0; trans q0 -> q1 { sync b?; }; }\n"
    "process C { state c0, c1; commit c0; init c0; trans c0 -> c1 { }; }\n"
    "system P, Q, C;";
// P's own edge and one on channel a; Q's own edge and one on a; R receives on
// b, which only T sends.
const char* const committedBinary =
    "chan a, b;\n"
    "process P { state s0, s1; @ init s0; trans s0 -> s1 { sync a!; }, s0 -> s0 { }; }\n"
    "process T { state w0; init w0; trans w0 -> w0 { sync b!; }; }\n"
    "process Q { state t0, t1, t2; init t0; trans t0 -> t1 { }, t0 -> t2 { sync a?; }; }\n"
    "process R { state r0, r1; init r0; trans r0 -> r1 { sync b?; }; }\n"
    "system P, T, Q, R;";

// The moves of the initial state: moves without synchronisation first, then
// each channel's combinations, sender first, receivers in list order.
TEST(SearchTransitionFilter, EnumeratesTheMovesOfAState) {
  const std::pair<std::string, Moves> cases[] = {
      // Binary: the sender with each receiving edge of every other process.
      {"chan a;\n"
       "process P { state s0, s1, s2; init s0; trans s0 -> s1 { sync a!; }, s0 -> s2 { }; }\n"
       "process Q { state t0, t1, t2; init t0; trans t0 -> t1 { sync a?; }, "
       "t0 -> t2 { sync a?; }; }\n"
       "process R { state r0, r1; init r0; trans r0 -> r1 { sync a?; }; }\n"
       "system P, Q, R;",
       {"P.s0>s2", "P.s0>s1 Q.t0>t1", "P.s0>s1 Q.t0>t2", "P.s0>s1 R.r0>r1"}},
      // A receiver without sender and complementary edges of one process.
      {"chan a, c;\n"
       "process P { state s0, s1, s2; init s0; trans s0 -> s1 { sync a!; }, "
       "s0 -> s2 { sync a?; }; }\n"
       "process Q { state t0, t1; init t0; trans t0 -> t1 { sync c?; }; }\n"
       "system P, Q;",
       {}},
      // Edges whose integer guards fail take no part.
      {"chan a; int [0,3] v := 1;\n"
       "process P { state s0, s1, s2; init s0; trans s0 -> s1 { guard v == 1; sync a!; }, "
       "s0 -> s2 { guard v == 2; sync a!; }, s0 -> s0 { guard v > 5; }; }\n"
       "process Q { state t0, t1, t2; init t0; trans t0 -> t1 { guard v == 0; sync a?; }, "
       "t0 -> t2 { sync a?; }; }\n"
       "system P, Q;",
       {"P.s0>s1 Q.t0>t2"}},
      // Broadcast: one edge of every receiving process (R has none), the
      // lowest process's choice varying fastest.
      {"broadcast chan b;\n"
       "process P { state s0, s1; init s0; trans s0 -> s1 { sync b!; }; }\n"
       "process Q { state q0, q1, q2; init q0; trans q0 -> q1 { sync b?; }, "
       "q0 -> q2 { sync b?; }; }\n"
       "process R { state r0, r1; init r0; trans r0 -> r1 { }; }\n"
       "process S { state u0, u1, u2; init u0; trans u0 -> u1 { sync b?; }, "
       "u0 -> u2 { sync b?; }; }\n"
       "system P, Q, R, S;",
       {"R.r0>r1", "P.s0>s1 Q.q0>q1 S.u0>u1", "P.s0>s1 Q.q0>q2 S.u0>u1", "P.s0>s1 Q.q0>q1 S.u0>u2",
        "P.s0>s1 Q.q0>q2 S.u0>u2"}},
      // A broadcast without enabled receiver is sent alone.
      {"broadcast chan b; int v := 0;\n"
       "process P { state s0, s1; init s0; trans s0 -> s1 { sync b!; }; }\n"
       "process Q { state q0, q1; init q0; trans q0 -> q1 { guard v == 1; sync b?; }; }\n"
       "system P, Q;",
       {"P.s0>s1"}},
      // P committed: its own edge, and a synchronisation in which P takes
      // part; Q's own edge and the pair of T and R (neither committed) not.
      {marked(committedBinary, "commit s0;"), {"P.s0>s0", "P.s0>s1 Q.t0>t2"}},
      {marked(committedBinary, ""), {"P.s0>s0", "Q.t0>t1", "P.s0>s1 Q.t0>t2", "T.w0>w0 R.r0>r1"}},
      // A committed broadcast needs a committed participant.
      {marked(committedBroadcast, ""), {"C.c0>c1"}},
      {marked(committedBroadcast, "commit s0;"), {"C.c0>c1", "P.s0>s1 Q.q0>q1"}},
      {replaced(marked(committedBroadcast, ""), "state q0, q1;", "state q0, q1; commit q0;"),
       {"C.c0>c1", "P.s0>s1 Q.q0>q1"}},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text);
    Model model(text);
    ASSERT_TRUE(model.system);
    EXPECT_EQ(movesOf(model), expected);
  }
}

} // namespace
} // namespace orvela
