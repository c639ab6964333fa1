#include "property/TCTLExpressionAdaptor.h"

#include "PropertyFixtures.h"
#include "model/Arrays.h"
#include "model/ClockCopyReset.h"
#include "model/ClockUpdates.h"
#include "model/Guard.h"
#include "model/LogicExpressions.h"
#include "property/TCTLVisitor.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvela {
namespace {

using test::constant;
using test::rawBounds;

class TCTLExpressionAdaptorTest : public test::PropertyTest {};

/// i0 == value.
Pointer<TCTLExpression> integerIs(int value) {
  return new TCTLExpressionAdaptor(
      new IntegerGuard(new Variable(0, 1, -100, 100), opEqual, constant(value)));
}

TEST_F(TCTLExpressionAdaptorTest, HoldsWhereTheExpressionIsNotZeroAndLeavesTheZone) {
  test::OwnedState state(prototype->copy());
  state->getIntegerReference()[0] = 4;
  const auto zone = rawBounds(state.get(), 1);
  EXPECT_TRUE(integerIs(4)->evaluate(state.get()));
  EXPECT_FALSE(integerIs(3)->evaluate(state.get()));
  EXPECT_TRUE(TCTLExpressionAdaptor(constant(-2)).evaluate(state.get()));
  EXPECT_EQ(rawBounds(state.get(), 1), zone);
  EXPECT_TRUE(state->getUnpackedRegion()->isClosed());

  // The negation is the logical not of the expression.
  EXPECT_TRUE(integerIs(3)->negate()->evaluate(state.get()));
  EXPECT_FALSE(integerIs(4)->negate()->evaluate(state.get()));
  EXPECT_EQ(integerIs(4)->negate()->getType(), TCTLExpression::adaptorType);
}

TEST_F(TCTLExpressionAdaptorTest, CollectsTheClocksTheExpressionReadsNotThoseItResets) {
  std::set<int> clocks;
  TCTLExpressionAdaptor(new ClockCopyReset(constant(2), constant(1))).collectClocks(clocks);
  TCTLExpressionAdaptor(new ClockAssign(constant(3), 0)).collectClocks(clocks);
  EXPECT_EQ(clocks, std::set<int>{2});
}

TEST_F(TCTLExpressionAdaptorTest, EvaluateMultiKeepsOnlyTheStatesWhereItHolds) {
  list = {allocated(0, 10), allocated(2, 3), allocated(4, 5)};
  auto it = list.begin();
  (*it++)->getIntegerReference()[0] = 1;
  (*it++)->getIntegerReference()[0] = 2;
  (*it++)->getIntegerReference()[0] = 1;
  integerIs(1)->evaluateMulti(list, allocator.get());
  EXPECT_EQ(bounds(list),
            (decltype(bounds(list)){test::closedInterval(0, 10), test::closedInterval(4, 5)}));
  EXPECT_EQ(allocator->blocksOut(), 2u);
}

TEST_F(TCTLExpressionAdaptorTest, IsAnAtomThatPrintsNothingAndIsItsOwnNormalForm) {
  struct Recorder : TCTLVisitor {
    int adaptors = 0;
    void visitTCTLExpressionAdaptor(TCTLExpressionAdaptor*) override { ++adaptors; }
  } recorder;
  const Pointer<TCTLExpression> atom = integerIs(1);
  atom->accept(recorder);
  EXPECT_EQ(recorder.adaptors, 1);
  EXPECT_TRUE(atom->atomic());
  std::ostringstream out;
  out << *atom;
  EXPECT_EQ(out.str(), "");
  NormalForm form;
  atom->normalise(form);
  EXPECT_EQ(form, (NormalForm{{atom}}));
}

} // namespace
} // namespace orvela
