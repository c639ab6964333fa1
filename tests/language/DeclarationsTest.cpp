#include "language/Declarations.h"

#include "LanguageTest.h"
#include "model/ChannelInfo.h"
#include "model/ClockInfo.h"
#include "model/IntegerInfo.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::declarationMessages;
using test::parse;
using test::withProcess;

std::vector<int> initialValues() {
  std::vector<int> values;
  for (const IntegerInfo& info : IntegerInfo::integers)
    values.push_back(info.initial);
  return values;
}

std::vector<std::string> integerNames() {
  std::vector<std::string> names;
  for (const IntegerInfo& info : IntegerInfo::integers)
    names.emplace_back(info.name.get());
  return names;
}

TEST(Declarations, DefaultValuesAreZeroOrTheLowerBound) {
  ASSERT_TRUE(parse(withProcess("int x; int [3,5] y; int [-5,-2] z; int [-4, -0] w;")).system);
  EXPECT_EQ(initialValues(), (std::vector<int>{0, 3, -5, 0}));
  EXPECT_EQ(IntegerInfo::integers[0].lower, -32767);
  EXPECT_EQ(IntegerInfo::integers[0].upper, 32767);
  EXPECT_EQ(IntegerInfo::integers[2].upper, -2);
  EXPECT_EQ(symbols.getData("z"), 2);
}

TEST(Declarations, ConstantsTakeAValueWithOrWithoutTheAssignment) {
  ASSERT_TRUE(
      parse(withProcess("const N 5; const M := N * 2 + 1, K -N; int [0, M] x := K + 9;")).system);
  EXPECT_EQ(symbols.getData("N"), 5);
  EXPECT_EQ(symbols.getData("M"), 11);
  EXPECT_EQ(symbols.getData("K"), -5);
  EXPECT_EQ(IntegerInfo::integers[0].upper, 11);
  EXPECT_EQ(initialValues(), (std::vector<int>{4}));
  EXPECT_TRUE(IntegerInfo::integers.size() == 1) << "constants are not variables";
}

TEST(Declarations, ScalarDeclarationErrorsAreReportedWithTheirLine) {
  EXPECT_EQ(declarationMessages("int x;\nconst M;"), "Error at line 2 : Initializer expected\n");
  EXPECT_EQ(declarationMessages("chan c := 1;"), "Error at line 1 : ';' expected\n");
  EXPECT_EQ(declarationMessages("int [0,3] x := 4;"),
            "Error at line 1 : Initial value out of range\n");
  EXPECT_EQ(declarationMessages("int [0,3] x := -1;"),
            "Error at line 1 : Initial value out of range\n");
  EXPECT_EQ(declarationMessages("int x 5;"), "Error at line 1 : ':=' expected\n");
  EXPECT_EQ(declarationMessages("const A[2] 5;"), "Error at line 1 : ':=' expected\n");
  EXPECT_EQ(declarationMessages("int [5,3] x;"), "Error at line 1 : Empty variable domain.\n");
  EXPECT_EQ(declarationMessages("int x;\n\nclock x;"), "Error at line 3 : Redefined symbol x\n");
  EXPECT_EQ(declarationMessages("int a; int a[2];"), "Error at line 1 : Redefined symbol a\n");
  EXPECT_EQ(declarationMessages("int x; int y := x;"),
            "Error at line 1 : Constant expression expected\n");
  EXPECT_EQ(declarationMessages("int x; const N x + 1;"),
            "Error at line 1 : Constant expression expected\n");
}

TEST(Declarations, ArrayInitialisersFillRowMajorAndCheckTheirShape) {
  ASSERT_TRUE(parse(withProcess("int a[2][3] := {{1,2,3},{4,5,6}};")).system);
  EXPECT_EQ(initialValues(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(integerNames(), (std::vector<std::string>{"a[0][0]", "a[0][1]", "a[0][2]", "a[1][0]",
                                                      "a[1][1]", "a[1][2]"}));
  for (const char* declaration :
       {"int a[2][3] := {{1,2},{3,4},{5,6}};", "int a[2] := {1,2,3};", "int a[3] := {1,2};",
        "int a[2][2] := {1,2,3,4};", "int a[2] := 5;", "int x := {1};", "int a[2] := {{1},{2}};"})
    EXPECT_EQ(declarationMessages(declaration), "Error at line 1 : Type mismatch\n") << declaration;
}

TEST(Declarations, ArraysOfConstantsInitialiseWholeRowsAndArrays) {
  ASSERT_TRUE(parse(withProcess("const R[3] := {7,8,9}; int a[2][3] := {R, {1,2,3}};"
                                "int b[3] := R; int [0,9] c[2][3] := {R, R};"))
                  .system);
  EXPECT_EQ(initialValues(), (std::vector<int>{7, 8, 9, 1, 2, 3, 7, 8, 9, 7, 8, 9, 7, 8, 9}));
  EXPECT_EQ(declarationMessages("const R[3] := {7,8,9}; int a[2][2] := {R, R};"),
            "Error at line 1 : Type mismatch\n");
  EXPECT_EQ(declarationMessages("const R[3] := {1,2,3}; int [0,2] a[3] := R;"),
            "Error at line 1 : Initial value out of range\n");
}

TEST(Declarations, ArraySizesMustBePositiveAndBounded) {
  EXPECT_EQ(declarationMessages("int a[0];"), "Error at line 1 : Array size out of range.\n");
  EXPECT_EQ(declarationMessages("const N -2; int a[N];"),
            "Error at line 1 : Array size out of range.\n");
  EXPECT_EQ(declarationMessages("int a[2048][1024];"),
            "Error at line 1 : Array size out of range.\n");
  EXPECT_EQ(declarationMessages("const A[1024][1024];"),
            "Error at line 1 : Initializer expected\n");
}

TEST(Declarations, LocalVariablesAreNamedAfterTheirProcess) {
  ASSERT_TRUE(parse("int a; process P { int a[3] := {4,5,6}; clock c[2]; chan d[2][2];"
                    " state s; init s; } system P;")
                  .system);
  EXPECT_EQ(integerNames(), (std::vector<std::string>{"a", "P.a[0]", "P.a[1]", "P.a[2]"}));
  EXPECT_EQ(initialValues(), (std::vector<int>{0, 4, 5, 6}));
  ASSERT_EQ(ClockInfo::clocks.size(), 3u);
  EXPECT_STREQ(ClockInfo::clocks[0].name.get(), "t(0)");
  EXPECT_STREQ(ClockInfo::clocks[2].name.get(), "P.c[1]");
  ASSERT_EQ(channelInfo.size(), 4u);
  EXPECT_STREQ(channelInfo[2]->name.get(), "P.d[1][0]");
  EXPECT_EQ(channelInfo[2]->id, 3);
}

TEST(Declarations, ChannelKindsFollowTheirKeywords) {
  ASSERT_TRUE(parse(withProcess("chan a; urgent chan b; broadcast chan c; urgent broadcast chan "
                                "d[2];"))
                  .system);
  ASSERT_EQ(channelInfo.size(), 5u);
  const auto kind = [](int id) {
    return std::pair(ChannelInfo::get(id).urgent, ChannelInfo::get(id).broadcast);
  };
  EXPECT_EQ(kind(1), std::pair(false, false));
  EXPECT_EQ(kind(2), std::pair(true, false));
  EXPECT_EQ(kind(3), std::pair(false, true));
  EXPECT_EQ(kind(5), std::pair(true, true));
  EXPECT_EQ(symbols.getData("d[]"), 4);
  EXPECT_EQ(declarationMessages("broadcast urgent chan b;"), "Error at line 1 : parse error\n");
}

TEST(Declarations, ClocksStopAt255IncludingTheReferenceClock) {
  EXPECT_TRUE(parse(withProcess("clock c[253]; clock last;")).system);
  EXPECT_EQ(ClockInfo::clocks.size(), 255u);
  const std::string tooMany = "Error at line 1 : Too many clocks: a system has at most 255, t(0) "
                              "included.\n";
  EXPECT_EQ(declarationMessages("clock c[254]; clock one;"), tooMany);
  EXPECT_EQ(declarationMessages("clock c[255];"), tooMany);
}

TEST(Declarations, ElementNamesSpellEveryIndex) {
  ParserState state;
  Declarations& record = state.declaration;
  record.dimensions = {2, 3, 4};
  EXPECT_EQ(record.addArrayIndex("a[][][]", 0), "a[0][0][0]");
  EXPECT_EQ(record.addArrayIndex("a[][][]", 23), "a[1][2][3]");
  EXPECT_EQ(record.addArrayIndex("a[][][]", 13), "a[1][0][1]");
}

} // namespace
} // namespace orvela
