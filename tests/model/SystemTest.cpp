#include "model/System.h"

#include "ModelFixtures.h"
#include "expr/Arrays.h"
#include "expr/Guard.h"
#include "model/ModelTables.h"
#include "model/Successor.h"
#include "symbolic/GlobalState.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvela {
namespace {

using test::buildProcess;
using test::constant;
using test::edge;
using test::receive;
using test::send;
using test::TestState;

// Holds when integer `index` of the state is 1.
Pointer<Expression> guardOnInteger(int index) {
  return new IntegerGuard(new Variable(index, 1, 0, 1), opEqual, constant(1));
}

class SystemTest : public ::testing::Test {
protected:
  /// A system of `processes` over `tables`, built.
  Pointer<System> systemOf(std::vector<Pointer<Process>> processes) const {
    Pointer<System> system = new System(static_cast<int>(processes.size()));
    for (std::size_t i = 0; i < processes.size(); ++i)
      system->setProcess(static_cast<int>(i), processes[i]);
    system->setTables(tables);
    system->construct();
    return system;
  }
  ModelTables tables;
};

TEST_F(SystemTest, AnUrgentSynchronisationNeedsBothIntegerGuardsToHold) {
  tables.addChannel(false, false, "plain");
  tables.addChannel(true, false, "hurry");
  // A sends on hurry when integer 0 is 1; B receives on it when integer 1 is
  // 1, and on the plain channel always.
  Pointer<System> system = systemOf(
      {buildProcess("A", 2, {edge(0, 1, send(2), guardOnInteger(0))}),
       buildProcess("B", 2, {edge(0, 1, receive(1)), edge(0, 1, receive(2), guardOnInteger(1))})});
  TestState state({1, 0}, {0, 0});
  EXPECT_TRUE(system->canSync(&state, 0, 1));
  EXPECT_TRUE(system->canSync(&state, 1, 1));
  EXPECT_FALSE(system->hasUrgentTransitions(&state));
  state.integers = {1, 1};
  EXPECT_TRUE(system->hasUrgentTransitions(&state));
  state.integers = {0, 1};
  EXPECT_FALSE(system->hasUrgentTransitions(&state));
  state.integers = {1, 1};
  state.locations = {0, 1}; // B has moved on
  EXPECT_FALSE(system->hasUrgentTransitions(&state));
  EXPECT_FALSE(system->canSync(&state, 0, 1));
}

TEST_F(SystemTest, AnEnabledUrgentBroadcastIsUrgentWithoutReceivers) {
  tables.addChannel(true, true, "all");
  Pointer<System> system = systemOf(
      {buildProcess("A", 1, {}), buildProcess("B", 1, {edge(0, 0, send(1), guardOnInteger(0))})});
  TestState state({0}, {0, 0});
  EXPECT_FALSE(system->hasUrgentTransitions(&state));
  state.integers = {1};
  EXPECT_TRUE(system->hasUrgentTransitions(&state));
}

// A: l0 -> l1 -> l0 (l0 is the loop entry); B: l0 -> l1 only. Both forms of
// the question, over a list of moves and over a successor; single moves are
// covered through the store filters (WaitingStateFiltersTest).
TEST_F(SystemTest, OnlyMovesIntoLoopEntriesMustBeSaved) {
  Pointer<System> system = systemOf(
      {buildProcess("A", 2, {edge(0, 1), edge(1, 0)}), buildProcess("B", 2, {edge(0, 1)})});
  const Transition* back = system->getProcess(0)->getTransitions()[1].get();
  const Transition* forward = system->getProcess(0)->getTransitions()[0].get();
  const Transition* other = system->getProcess(1)->getTransitions()[0].get();
  TestState state({}, {0, 1});
  EXPECT_FALSE(system->noSave(nullptr, &state));
  const Transition* pair[] = {other, back, nullptr};
  EXPECT_FALSE(system->noSave(pair, &state));
  state.locations = {1, 1};
  const Transition* away[] = {forward, other, nullptr};
  EXPECT_TRUE(system->noSave(away, &state));

  Pointer<GlobalState> initial = system->calcInitial();
  EXPECT_FALSE(system->noSave(Successor{nullptr, nullptr, initial.get()}));
  EXPECT_FALSE(system->noSave(Successor{back, nullptr, initial.get()}));
  EXPECT_FALSE(system->noSave(Successor{other, back, initial.get()}));
  EXPECT_TRUE(system->noSave(Successor{other, nullptr, initial.get()}));
  initial->setLocation(0, 1);
  EXPECT_TRUE(system->noSave(Successor{other, back, initial.get()}));
}

} // namespace
} // namespace orvela
