#include "language/Scanner.h"

#include "LanguageTest.h"
#include "base/Exceptions.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::ScannedToken;

std::vector<int> codes(const std::vector<ScannedToken>& tokens) {
  std::vector<int> result;
  for (const ScannedToken& token : tokens)
    result.push_back(token.code);
  return result;
}

// A global clock x, a global integer n, a clock array c, an integer array v,
// and a process P whose frame holds a clock y and an integer x.
class ScannerTest : public ::testing::Test {
protected:
  void SetUp() override {
    symbols.addSymbol("x", clockSymbol, 1);
    symbols.addSymbol("n", integerSymbol, 0);
    symbols.addSymbol("c", arraySymbol, 2);
    symbols.addSymbol("c[]", arraySymbol, 2);
    symbols.addSymbol("c[][]", clockSymbol, 2);
    symbols.addSymbol("v", arraySymbol, 3);
    symbols.addSymbol("v[]", integerSymbol, 1);
    symbols.addSymbol("P", processSymbol, 0);
    const unsigned int frame = symbols.addFrame();
    symbols.setData("P", static_cast<int>(0xffff0000u | frame));
    symbols.addSymbol("y", clockSymbol, 6);
    symbols.addSymbol("x", integerSymbol, 4);
    symbols.dropFrame();
  }
  std::vector<ScannedToken> scanText(const std::string& text, std::string* messages = nullptr) {
    return test::scanText(text, symbols, messages);
  }
  SymbolTable symbols{symbolTypeCount};
};

TEST_F(ScannerTest, UnmatchedCharactersAreReportedAsBadTokens) {
  std::string messages;
  EXPECT_EQ(codes(scanText("x=3 @ _a", &messages)),
            (std::vector<int>{CLOCK_NAME, BAD_TOKEN, NUMBER, BAD_TOKEN, BAD_TOKEN, NEW_NAME}));
  EXPECT_EQ(messages, "Error at line 1 : Unknown symbol '='\n"
                      "Error at line 1 : Unknown symbol '@'\n"
                      "Error at line 1 : Unknown symbol '_'\n");
}

TEST_F(ScannerTest, LongNamesAreTruncatedTo63Characters) {
  const std::string stem(63, 'k');
  symbols.addSymbol(stem.c_str(), integerSymbol, 0);
  std::string messages;
  EXPECT_EQ(scanText(stem + "Z " + stem, &messages),
            (std::vector<ScannedToken>{{SYMBOL_NAME, stem}, {SYMBOL_NAME, stem}}));
  EXPECT_EQ(messages, "Error at line 1 : Identifier truncated\n");
  EXPECT_EQ(scanText(std::string(70, 'q'), &messages),
            (std::vector<ScannedToken>{{NEW_NAME, std::string(63, 'q')}}));
}

TEST_F(ScannerTest, LinesAreCountedOutsideStrings) {
  std::string messages;
  scanText("n // comment\n\"a\nb\" \n=", &messages);
  EXPECT_EQ(messages, "Error at line 3 : Unknown symbol '='\n");
  EXPECT_EQ(codes(scanText("n // c\nn \"s\"")),
            (std::vector<int>{SYMBOL_NAME, SYMBOL_NAME, STRING}));
  // A comment needs its newline: at the very end it is two divisions and
  // whatever follows them.
  EXPECT_EQ(codes(scanText("n //w")), (std::vector<int>{SYMBOL_NAME, '/', '/', NEW_NAME}));
}

TEST_F(ScannerTest, NumbersAreDecimal32BitValues) {
  std::string messages;
  EXPECT_EQ(scanText("0 0042 2147483647\n2147483648 4294967297", &messages),
            (std::vector<ScannedToken>{{NUMBER, "0"},
                                       {NUMBER, "42"},
                                       {NUMBER, "2147483647"},
                                       {BAD_TOKEN, ""},
                                       {BAD_TOKEN, ""}}));
  EXPECT_EQ(messages, "Error at line 2 : Number too large.\nError at line 2 : Number too large.\n");
}

TEST_F(ScannerTest, EachDescriptionIsScannedFromAFreshBuffer) {
  // A description longer than one block read, then a short one: nothing of
  // the first may be seen in the second.
  std::string longText;
  for (int i = 0; i < 4000; ++i)
    longText += "n ";
  EXPECT_EQ(scanText(longText + "x").size(), 4001u);
  EXPECT_EQ(codes(scanText("c")), (std::vector<int>{CLOCK_NAME}));
  // Comments and blank runs longer than the scanner's first buffer.
  for (const std::size_t length : {16379u, 16382u, 20000u, 70000u}) {
    const std::string comment = "//" + std::string(length, 'w') + "\n";
    const std::string blanks(length, ' ');
    EXPECT_EQ(codes(scanText(comment + "n" + blanks + "x" + comment)),
              (std::vector<int>{SYMBOL_NAME, CLOCK_NAME}))
        << length;
  }
}

} // namespace
} // namespace orvela
