#include "language/SymbolTable.h"

#include "base/Exceptions.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace orvela {
namespace {

TEST(SymbolTable, LocalNamesHideGlobalOnesWhileTheirFrameIsActive) {
  SymbolTable table(symbolTypeCount);
  ASSERT_TRUE(table.addSymbol("x", integerSymbol, 0));
  const unsigned int frame = table.addFrame();
  ASSERT_TRUE(table.addSymbol("x", clockSymbol, 3));
  EXPECT_EQ(table.getType("x"), clockSymbol);
  EXPECT_EQ(table.getData("x"), 3);
  EXPECT_EQ(table.findGlobalSymbol("x").type, integerSymbol);
  table.dropFrame();
  EXPECT_EQ(table.getType("x"), integerSymbol);
  EXPECT_EQ(table.findSymbolInFrame("x", static_cast<int>(frame)).type, clockSymbol);
  table.activateFrame(frame);
  EXPECT_EQ(table.getData("x"), 3);
}

TEST(SymbolTable, IdsCountPerTypeAndAFailedAdditionStillConsumesOne) {
  SymbolTable table(symbolTypeCount);
  ASSERT_TRUE(table.addSymbol("a", clockSymbol, 1));
  ASSERT_TRUE(table.addSymbol("n", integerSymbol, 0));
  EXPECT_FALSE(table.addSymbol("a", clockSymbol, 9)); // redefined: nothing added
  ASSERT_TRUE(table.addSymbol("b", clockSymbol, 2));
  EXPECT_EQ(table.getId("a"), 0);
  EXPECT_EQ(table.getId("n"), 0);
  EXPECT_EQ(table.getId("b"), 2);
  EXPECT_EQ(table.getData("a"), 1);
  EXPECT_STREQ(table.getName(clockSymbol, 2), "b");
  EXPECT_EQ(table.getData(clockSymbol, 2), 2);
  EXPECT_FALSE(table.findSymbol(clockSymbol, 1).found());
}

TEST(SymbolTable, UnknownNamesAnswerTheSentinel) {
  SymbolTable table(symbolTypeCount);
  EXPECT_EQ(table.getType("nothing"), -1);
  EXPECT_EQ(table.getId("nothing"), -1);
  EXPECT_EQ(table.getData("nothing"), -1);
  EXPECT_STREQ(table.getName(integerSymbol, 0), "");
  EXPECT_FALSE(table.findSymbol("nothing").found());
  try {
    table.setData("nothing", 1);
    FAIL() << "no exception";
  } catch (const Bug& bug) {
    EXPECT_STREQ(bug.what(), "Could not find the specified symbol");
  }
  EXPECT_THROW(table.setData(integerSymbol, 0, 1), Bug);
}

TEST(SymbolTable, NamesAgreeingInTheirFirst63CharactersAreTheSameSymbol) {
  SymbolTable table(symbolTypeCount);
  const std::string stem(63, 'n');
  ASSERT_TRUE(table.addSymbol((stem + "A").c_str(), integerSymbol, 7));
  EXPECT_EQ(std::string(table.findSymbol(stem.c_str()).name), stem);
  EXPECT_EQ(table.getData((stem + "B").c_str()), 7);
  EXPECT_FALSE(table.addSymbol((stem + "C").c_str(), integerSymbol, 8));
  EXPECT_EQ(table.getType(stem.substr(0, 62).c_str()), -1);
}

TEST(SymbolTable, ArrayChainsYieldDimensionsAndElementInTheirOwnFrame) {
  SymbolTable table(symbolTypeCount);
  table.addSymbol("a", arraySymbol, 2);
  table.addSymbol("a[]", arraySymbol, 3);
  table.addSymbol("a[][]", integerSymbol, 4);
  table.addFrame();
  table.addSymbol("a[]", clockSymbol, 1); // a local name must not break the global chain
  std::vector<int> dimensions;
  const Symbol& element = table.elementOf(table.findGlobalSymbol("a"), &dimensions);
  EXPECT_EQ(element.type, integerSymbol);
  EXPECT_EQ(element.data, 4);
  EXPECT_EQ(dimensions, (std::vector<int>{2, 3}));
  table.addSymbol("broken", arraySymbol, 5);
  EXPECT_FALSE(table.elementOf(table.findSymbol("broken")).found());
  const Symbol& scalar = table.findGlobalSymbol("a[][]");
  EXPECT_EQ(&table.elementOf(scalar), &scalar);
}

TEST(SymbolTable, DumpListsFramesSymbolsAndActiveFrames) {
  SymbolTable table(symbolTypeCount);
  table.addSymbol("P", processSymbol, 1);
  table.addFrame();
  table.addSymbol("s", locationSymbol, 0);
  std::ostringstream out;
  out << table;
  EXPECT_EQ(out.str(), "frame: #0\n<P,2,0,1> \nframe: #1\n<s,3,0,0> \nActive frames: 0 1\n");
  table.clear();
  std::ostringstream cleared;
  cleared << table;
  EXPECT_EQ(cleared.str(), "frame: #0\n\nActive frames: 0\n");
  ASSERT_TRUE(table.addSymbol("s", locationSymbol, 0));
  EXPECT_EQ(table.getId("s"), 0);
}

} // namespace
} // namespace orvela
