#include "language/Declarations.h"

#include "LanguageTest.h"
#include "model/ModelTables.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::parse;
using test::withProcess;

// The tables of the model `text` declares (only the reference clock when it
// does not load).
ModelTables tablesOf(const std::string& text) {
  const test::Parsed parsed = parse(text);
  EXPECT_TRUE(parsed.system) << parsed.messages;
  return parsed.system ? parsed.system->tables() : ModelTables();
}

std::vector<int> initialValues(const ModelTables& tables) {
  std::vector<int> values;
  for (const IntegerInfo& info : tables.integers)
    values.push_back(info.initial);
  return values;
}

std::vector<std::string> integerNames(const ModelTables& tables) {
  std::vector<std::string> names;
  for (const IntegerInfo& info : tables.integers)
    names.emplace_back(info.name.c_str());
  return names;
}

TEST(Declarations, DefaultValuesAreZeroOrTheLowerBound) {
  const ModelTables tables =
      tablesOf(withProcess("int x; int [3,5] y; int [-5,-2] z; int [-4, -0] w;"));
  ASSERT_EQ(initialValues(tables), (std::vector<int>{0, 3, -5, 0}));
  EXPECT_EQ(tables.integers[0].lower, -32767);
  EXPECT_EQ(tables.integers[0].upper, 32767);
  EXPECT_EQ(tables.integers[2].upper, -2);
  EXPECT_EQ(test::constantValue("int x; int [3,5] y; int [-5,-2] z;", "z"), "2");
}

TEST(Declarations, ConstantsTakeAValueWithOrWithoutTheAssignment) {
  const ModelTables tables =
      tablesOf(withProcess("const N 5; const M := N * 2 + 1, K -N; int [0, M] x := K + 9;"));
  for (const auto& [name, value] : {std::pair("N", "5"), {"M", "11"}, {"K", "-5"}})
    EXPECT_EQ(test::constantValue("const N 5; const M := N * 2 + 1, K -N;", name), value);
  ASSERT_EQ(initialValues(tables), (std::vector<int>{4})) << "constants are not variables";
  EXPECT_EQ(tables.integers[0].upper, 11);
}

TEST(Declarations, FaultyDeclarationsAreReportedWithTheirLine) {
  const std::string mismatch = "Type mismatch", range = "Initial value out of range";
  const std::string size = "Array size out of range.", constant = "Constant expression expected";
  const std::string clocks = "Too many clocks: a system has at most 255, t(0) included.";
  const std::pair<const char*, std::string> cases[] = {
      {"int x;\n\nconst M;", "Initializer expected"},
      {"\n\nconst A[1024][1024];", "Initializer expected"},
      {"\n\nchan c := 1;", "';' expected"},
      {"\n\nint [0,3] x := 4;", range},
      {"\n\nconst R[3] := {1,2,3}; int [0,2] a[3] := R;", range},
      {"\n\nint x 5;", "':=' expected"},
      {"\n\nint [5,3] x;", "Empty variable domain."},
      {"int x;\n\nclock x;", "Redefined symbol x"},
      {"\n\nint x; int y := x;", constant},
      {"\n\nint a[2][3] := {{1,2},{3,4},{5,6}};", mismatch},
      {"\n\nint a[2] := {1,2,3};", mismatch},
      {"\n\nint a[3] := {1,2};", mismatch},
      {"\n\nint a[2][2] := {1,2,3,4};", mismatch},
      {"\n\nint a[2] := 5;", mismatch},
      {"\n\nint x := {1};", mismatch},
      {"\n\nconst R[3] := {7,8,9}; int a[2][2] := {R, R};", mismatch},
      {"\n\nint a[0];", size},
      {"\n\nint a[2048][1024];", size},
      {"\n\nbroadcast urgent chan b;", "unexpected 'urgent', expected 'chan'"},
      {"\n\nclock c[254]; clock one;", clocks},
      {"\n\nclock c[255];", clocks},
  };
  for (const auto& [declarations, message] : cases)
    EXPECT_EQ(parse(withProcess(declarations)).messages, "Error at line 3 : " + message + "\n")
        << declarations;
}

TEST(Declarations, ArrayInitialisersFillRowMajorAndCheckTheirShape) {
  const ModelTables tables = tablesOf(withProcess("int a[2][3] := {{1,2,3},{4,5,6}};"));
  EXPECT_EQ(initialValues(tables), (std::vector<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(integerNames(tables), (std::vector<std::string>{"a[0][0]", "a[0][1]", "a[0][2]",
                                                            "a[1][0]", "a[1][1]", "a[1][2]"}));
}

TEST(Declarations, ArraysOfConstantsInitialiseWholeRowsAndArrays) {
  const ModelTables tables =
      tablesOf(withProcess("const R[3] := {7,8,9}; int a[2][3] := {R, {1,2,3}};"
                           "int b[3] := R; int [0,9] c[2][3] := {R, R};"));
  EXPECT_EQ(initialValues(tables), (std::vector<int>{7, 8, 9, 1, 2, 3, 7, 8, 9, 7, 8, 9, 7, 8, 9}));
}

TEST(Declarations, A255thClockIncludingTheReferenceClockIsAccepted) {
  EXPECT_EQ(tablesOf(withProcess("clock c[253]; clock last;")).clocks.size(), 255u);
}

} // namespace
} // namespace orvela
