// The rules of setting one option that the protocol cannot show whole: the
// effect of every value on the stored state space, and rejected values that
// leave every option as it was. (The protocol tests cover the messages.)

#include "session/Options.h"

#include "base/Exceptions.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

TEST(Options, ChangesEmptyTheStateSpaceOnlyWhereTheyAffectIt) {
  SearchOptions options;
  EXPECT_EQ(applyOption(options, "order", '1'), OptionEffect::stateSpaceEmptied);
  EXPECT_EQ(applyOption(options, "order", '1'), OptionEffect::kept); // no change
  EXPECT_EQ(applyOption(options, "order", '7'), OptionEffect::stateSpaceEmptied);
  EXPECT_EQ(options.order, SearchOrder::breadthFirst); // only 1 is depth-first
  EXPECT_EQ(applyOption(options, "reduction", '1'), OptionEffect::kept);
  EXPECT_EQ(applyOption(options, "reduction", '2'), OptionEffect::stateSpaceEmptied);
  EXPECT_EQ(applyOption(options, "reuse", 'T'), OptionEffect::stateSpaceEmptied);
  EXPECT_EQ(applyOption(options, "reuse", '1'), OptionEffect::kept);
  EXPECT_EQ(applyOption(options, "activeClocks", '0'), OptionEffect::kept);
  EXPECT_EQ(applyOption(options, "activeClocks", '1'), OptionEffect::stateSpaceEmptied);
  // trace empties on every setting, changed or not
  EXPECT_EQ(applyOption(options, "trace", '1'), OptionEffect::stateSpaceEmptied);
  EXPECT_EQ(applyOption(options, "trace", '1'), OptionEffect::stateSpaceEmptied);
  EXPECT_TRUE(options.trace);
  EXPECT_EQ(applyOption(options, "normalise", '1'), OptionEffect::kept);
  EXPECT_EQ(applyOption(options, "zoneFormat", '0'), OptionEffect::kept);
  EXPECT_EQ(applyOption(options, "storeFlag", 'T'), OptionEffect::kept);
  EXPECT_EQ(applyOption(options, "Order", '1'), OptionEffect::ignored);
  EXPECT_TRUE(options.normalise && options.storeFlag && options.reuse && options.activeClocks);
  EXPECT_EQ(options.zoneFormat, ZoneFormat::full);
  EXPECT_EQ(options.reduction, StorageReduction::dropUnnecessary);
}

TEST(Options, RejectedValuesLeaveEveryOptionAsItWas) {
  struct Case {
    const char* name;
    char value;
    const char* message;
  };
  for (const Case& c :
       {Case{"reduction", '3', "Invalid reduction"}, Case{"reduction", '-', "Invalid reduction"},
        Case{"representation", '4', "Invalid representation"},
        Case{"zoneFormat", '2', "Invalid zone format"},
        Case{"reuse", 'y', "Protocol violation: T, F, 0 or 1 expected"},
        Case{"storeFlag", 'x', "Protocol violation: T, F, 0 or 1 expected"}}) {
    SCOPED_TRACE(c.name);
    SearchOptions options;
    options.representation = Representation::convexHull;
    options.overapproximation = true;
    try {
      applyOption(options, c.name, c.value);
      ADD_FAILURE() << "accepted";
    } catch (const ProtocolError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
    EXPECT_EQ(options.reduction, StorageReduction::dropUnnecessaryCommitted);
    EXPECT_EQ(options.representation, Representation::convexHull);
    EXPECT_TRUE(options.overapproximation);
    EXPECT_EQ(options.zoneFormat, ZoneFormat::minimal);
    EXPECT_FALSE(options.reuse || options.storeFlag);
  }
}

} // namespace
} // namespace orvela
