#include "engine/SuccessorFilters.h"
#include "EngineProbes.h"
#include "dbm/RawBound.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::findEdge;
using test::loadSystem;
using test::Model;
using test::MoveRecorder;

/// Puts `state` with the move of P from s0 to s1 and Q from t0 to t1 into a
/// successor filter that feeds `recorder`; answers the filter's answer.
bool synchronise(Model& stages, GlobalState* state, MoveRecorder& recorder) {
  Pointer<Filter> filter = createSuccessorFilter(stages.system, stages.allocator);
  filter->setSink(&recorder);
  const Transition* move[] = {findEdge(*stages.system, "P", "s0", "s1"),
                              findEdge(*stages.system, "Q", "t0", "t1"), nullptr};
  SuccessorPair pair(state, move);
  return filter->tryPut(&pair);
}

int32_t upper(const GlobalState& state, unsigned clock) {
  return state.getUnpackedRegion()->get(clock, 0);
}
int32_t lower(const GlobalState& state, unsigned clock) {
  return state.getUnpackedRegion()->get(0, clock);
}

TEST(SuccessorFilter, MovesEveryProcessAndLetsTheReceiverUpdateLast) {
  Model stages("chan a; int [0,9] v := 0; int [0,9] w := 0;\n"
               "process P { clock x; state s0, s1; init s0; "
               "trans s0 -> s1 { sync a!; assign v := 1, x := 0; }; }\n"
               "process Q { clock y; state t0, t1; init t0; "
               "trans t0 -> t1 { sync a?; assign w := v + 3, v := 2, y := 4; }; }\n"
               "system P, Q;");
  MoveRecorder recorder(stages.allocator.get());
  EXPECT_TRUE(synchronise(stages, stages.state(2, 3), recorder));
  ASSERT_EQ(recorder.states.size(), 1u);
  const GlobalState& next = *recorder.states[0];
  EXPECT_EQ(next.getLocation(0), 1);
  EXPECT_EQ(next.getLocation(1), 1);
  // The receiver's value of v stays, and it read the sender's value.
  EXPECT_EQ((*next.getIntegerTable())[0], 2);
  EXPECT_EQ((*next.getIntegerTable())[1], 4);
  EXPECT_EQ(upper(next, 1), rawBound(0, false));
  EXPECT_EQ(lower(next, 2), rawBound(-4, false));
  EXPECT_EQ(upper(next, 2), rawBound(4, false));
}

const char* delayModel = "urgent chan u; int [0,1] go := 0;\n"
                         "process P { clock x; state s0, free {x <= 5}, stuck {x <= 4}, "
                         "hurry {x <= 4}, calm; commit stuck; urgent hurry; init s0; trans "
                         "s0 -> free { }, s0 -> stuck { }, s0 -> hurry { }, "
                         "s0 -> calm { }, calm -> s0 { guard go == 1; sync u!; }; }\n"
                         "process Q { state t0, t1; init t0; trans t0 -> t1 { sync u?; }; }\n"
                         "system P, Q;";

/// Puts a block state with x in [low, high], P moved to `location`, into a
/// delay filter; answers the state that came out, or null.
Pointer<GlobalState> delayed(Model& stages, const char* location, int low, int high, int go = 0) {
  Pointer<Filter> filter = createDelayFilter(stages.system, stages.allocator);
  MoveRecorder recorder(stages.allocator.get());
  filter->setSink(&recorder);
  GlobalState* state = stages.state(low, high);
  state->setLocation(0, test::locationIndex(*stages.system, "P", location));
  (*state->getIntegerTable())[0] = go;
  const Transition* none[] = {nullptr};
  SuccessorPair pair(state, none);
  const bool accepted = filter->tryPut(&pair);
  EXPECT_EQ(accepted, !recorder.states.empty());
  EXPECT_EQ(stages.allocator->blocksOut(), 0u);
  return accepted ? recorder.states[0] : nullptr;
}

TEST(DelayFilter, LetsTimePassWhereAllowedThenAppliesTheInvariant) {
  Model stages(delayModel);
  constexpr int dropped = 0; // the invariant excludes the whole zone
  // Location of P, x in [low, high] after the move, go, the upper bound of x.
  const std::tuple<const char*, int, int, int, int32_t> cases[] = {
      {"free", 1, 2, 0, rawBound(5, false)},
      {"free", 6, 7, 0, dropped},
      {"calm", 1, 2, 0, rawInfinity}, // no invariant
      // Committed, urgent, and an enabled urgent synchronisation (with Q once
      // go is 1) stop time; the invariant x <= 4 still applies.
      {"stuck", 1, 2, 0, rawBound(2, false)},
      {"stuck", 3, 9, 0, rawBound(4, false)},
      {"stuck", 5, 9, 0, dropped},
      {"hurry", 1, 2, 0, rawBound(2, false)},
      {"calm", 1, 2, 1, rawBound(2, false)},
  };
  for (const auto& [location, low, high, go, bound] : cases) {
    SCOPED_TRACE(testing::Message() << location << " [" << low << ", " << high << "] go " << go);
    Pointer<GlobalState> state = delayed(stages, location, low, high, go);
    ASSERT_EQ(bool(state), bound != dropped);
    if (state) {
      EXPECT_EQ(lower(*state, 1), rawBound(-low, false));
      EXPECT_EQ(upper(*state, 1), bound);
    }
  }
}

} // namespace
} // namespace orvela
