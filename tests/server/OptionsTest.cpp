// The rules of setting one option: values, effects on the stored state
// space, and rejected values that leave every option as it was.

#include "server/Options.h"

#include "server/base/Exceptions.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

TEST(Options, BooleansAreOneOfFourCharacters) {
  EXPECT_TRUE(getBool('1'));
  EXPECT_TRUE(getBool('T'));
  EXPECT_FALSE(getBool('0'));
  EXPECT_FALSE(getBool('F'));
  for (char bad : {'t', 'y', '2', ' '}) {
    try {
      getBool(bad);
      ADD_FAILURE() << bad;
    } catch (const ProtocolError& error) {
      EXPECT_STREQ(error.what(), "Protocol violation: T, F, 0 or 1 expected");
    }
  }
}

TEST(Options, ChangesEmptyTheStateSpaceOnlyWhereTheyAffectIt) {
  SearchOptions options;
  EXPECT_EQ(applyOption(options, "order", '1'), OptionEffect::stateSpaceEmptied);
  EXPECT_EQ(applyOption(options, "order", '1'), OptionEffect::kept); // no change
  EXPECT_EQ(applyOption(options, "order", '7'), OptionEffect::stateSpaceEmptied);
  EXPECT_EQ(options.order, 0); // only 1 is depth-first
  EXPECT_EQ(applyOption(options, "reduction", '1'), OptionEffect::kept);
  EXPECT_EQ(applyOption(options, "reduction", '2'), OptionEffect::stateSpaceEmptied);
  EXPECT_EQ(applyOption(options, "reuse", 'T'), OptionEffect::stateSpaceEmptied);
  EXPECT_EQ(applyOption(options, "reuse", '1'), OptionEffect::kept);
  EXPECT_EQ(applyOption(options, "activeClocks", '0'), OptionEffect::kept);
  EXPECT_EQ(applyOption(options, "activeClocks", '1'), OptionEffect::stateSpaceEmptied);
  // trace empties on every setting, changed or not
  EXPECT_EQ(applyOption(options, "trace", '1'), OptionEffect::stateSpaceEmptied);
  EXPECT_EQ(applyOption(options, "trace", '1'), OptionEffect::stateSpaceEmptied);
  EXPECT_TRUE(options.saveTrace);
  EXPECT_EQ(applyOption(options, "normalise", '1'), OptionEffect::kept);
  EXPECT_EQ(applyOption(options, "zoneFormat", '0'), OptionEffect::kept);
  EXPECT_EQ(applyOption(options, "storeFlag", 'T'), OptionEffect::kept);
  EXPECT_EQ(applyOption(options, "Order", '1'), OptionEffect::ignored);
  EXPECT_TRUE(options.normalise && options.storeFlag && options.timeOpt && options.activeClocks);
  EXPECT_EQ(options.zoneFormat, 0);
  EXPECT_EQ(options.spaceOpt, 2);
}

TEST(Options, RepresentationsSetTheApproximationFlags) {
  SearchOptions options;
  EXPECT_EQ(applyOption(options, "representation", '0'), OptionEffect::kept);
  EXPECT_EQ(applyOption(options, "representation", '2'), OptionEffect::stateSpaceEmptied);
  EXPECT_TRUE(options.underapproximation);
  EXPECT_FALSE(options.overapproximation);
  applyOption(options, "representation", '3');
  EXPECT_FALSE(options.underapproximation);
  EXPECT_TRUE(options.overapproximation);
  applyOption(options, "representation", '1');
  EXPECT_FALSE(options.underapproximation || options.overapproximation);
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
    options.representation = 3;
    options.overapproximation = true;
    try {
      applyOption(options, c.name, c.value);
      ADD_FAILURE() << "accepted";
    } catch (const ProtocolError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
    EXPECT_EQ(options.spaceOpt, 1);
    EXPECT_EQ(options.representation, 3);
    EXPECT_TRUE(options.overapproximation);
    EXPECT_EQ(options.zoneFormat, 1);
    EXPECT_FALSE(options.timeOpt || options.storeFlag);
  }
}

TEST(Options, LinesSplitIntoANameAndOneValueCharacter) {
  EXPECT_EQ(splitOptionLine("order 1"), std::make_pair(std::string_view("order"), '1'));
  EXPECT_EQ(splitOptionLine("trace   True"), std::make_pair(std::string_view("trace"), 'T'));
  EXPECT_EQ(splitOptionLine("x\tF"), std::make_pair(std::string_view("x"), 'F'));
  for (const char* bad : {"", "order", "order   "}) {
    try {
      splitOptionLine(bad);
      ADD_FAILURE() << bad;
    } catch (const ProtocolError& error) {
      EXPECT_STREQ(error.what(), "Syntax error");
    }
  }
}

} // namespace
} // namespace orvela
