#include "PropertyModel.h"

#include "language/ErrorReporting.h"
#include "property/PropertyParserState.h"
#include "property/PropertyScanner.h"
#include "property/tctl_parser.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvela {
namespace {

/// A token with its value: the number or operator code, the location
/// reference, or the symbol's name.
struct Token {
  int code;
  std::string value;
  bool operator==(const Token&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Token& token) {
  return out << token.code << ':' << token.value;
}

class PropertyScanner : public test::PropertyModelTest {
protected:
  /// The tokens of `text` up to the end of the property (0) or of the input
  /// (262), which is included.
  std::vector<Token> scan(const std::string& text) {
    std::istringstream in(text);
    std::ostringstream errors;
    std::ostream& previous = errorStream();
    setErrorStream(errors);
    PropertyParserState state(in, system);
    tctlState = &state;
    resetPropertyScanner();
    std::vector<Token> tokens;
    for (;;) {
      const int code = tctl_lex();
      std::string value;
      if (code == TCTL_NUMBER || code == TCTL_RELOP || code == TCTL_LOCATION)
        value = std::to_string(tctl_lval.number);
      else if (code == TCTL_VARIABLE || code == TCTL_CLOCK)
        value = tctl_lval.symbol->name;
      tokens.push_back({code, value});
      if (code == 0 || code == TCTL_END_OF_INPUT || tokens.size() > 100)
        break;
    }
    lines = state.property.lines;
    resetPropertyScanner();
    tctlState = nullptr;
    setErrorStream(previous);
    messages = errors.str();
    return tokens;
  }

  std::vector<int> codes(const std::string& text) {
    std::vector<int> result;
    for (const Token& token : scan(text))
      result.push_back(token.code);
    return result;
  }

  std::string messages;
  int lines = 0;
};

TEST_F(PropertyScanner, KeywordsAndOperatorsHaveTheirCodes) {
  EXPECT_EQ(codes("and A<> A[] / . E<> E[] imply ( [ - not or + quit ) ] * @L @F --> true { } "
                  "deadlock\n"),
            (std::vector<int>{257, 258, 259, 260, 261, 263, 264, 265, 266, 267, 268, 269, 272,
                              273, 274, 275, 276, 277, 278, 279, 280, 282, 283, 284, 286, 0}));
  EXPECT_EQ(scan(">= <= < > == !="),
            (std::vector<Token>{
                {271, "0"}, {271, "1"}, {271, "2"}, {271, "3"}, {271, "4"}, {271, "5"}, {0, ""}}));
  EXPECT_EQ(scan("0 42 007"), (std::vector<Token>{{270, "0"}, {270, "42"}, {270, "7"}, {0, ""}}));
  // The longest match wins: -->, not - -; a name that starts with a keyword.
  EXPECT_EQ(codes("x-->y x--y andx deadlocks A<>B"),
            (std::vector<int>{288, 280, 288, 288, 268, 268, 288, 281, 281, 258, 281, 0}));
  // Characters that start no token.
  EXPECT_EQ(codes("? ! = & %"), (std::vector<int>{281, 281, 281, 281, 281, 0}));
  EXPECT_EQ(messages, "");
}

TEST_F(PropertyScanner, NamesAreClassifiedByTheSymbolTable) {
  EXPECT_EQ(scan("x c y i a m K T ch P nobody"), (std::vector<Token>{{288, "x"},
                                                                     {288, "c"},
                                                                     {288, "y"},
                                                                     {287, "i"},
                                                                     {287, "a"},
                                                                     {287, "m"},
                                                                     {287, "K"},
                                                                     {287, "T"},
                                                                     {287, "ch"},
                                                                     {287, "P"},
                                                                     {281, ""},
                                                                     {0, ""}}));
  // P stands second in the system line, Q first; busy is P's second
  // location.
  EXPECT_EQ(scan("P.busy Q.q2 P.idle P.z P.v P.nothing Q.busy"),
            (std::vector<Token>{{289, std::to_string(1 << 16 | 1)},
                                {289, "2"},
                                {289, std::to_string(1 << 16)},
                                {288, "z"},
                                {287, "v"},
                                {281, ""},
                                {281, ""},
                                {0, ""}}));
  EXPECT_EQ(messages, "");
  EXPECT_EQ(codes("R.idle x.idle"), (std::vector<int>{281, 281, 0}));
  EXPECT_EQ(messages, "Bad property\nBad property\n");
}

TEST_F(PropertyScanner, LinesCommentsAndTheEndOfInput) {
  EXPECT_EQ(codes(""), std::vector<int>{262});
  EXPECT_EQ(codes("\nx"), std::vector<int>{0});
  EXPECT_EQ(lines, 1);
  // A property ended by the input rather than by a newline.
  EXPECT_EQ(codes("x"), (std::vector<int>{288, 0}));
  EXPECT_EQ(codes("x // comment"), (std::vector<int>{288, 0}));
  // Only comments before the end: nothing of a property was read.
  EXPECT_EQ(codes("// comment\n/* more */"), std::vector<int>{262});
  EXPECT_EQ(codes("x /* one\ntwo\n */ y \\\n i // three\n four"),
            (std::vector<int>{288, 288, 287, 281, 0}));
  EXPECT_EQ(lines, 4);
  EXPECT_EQ(codes("x /* never closed\n"), (std::vector<int>{288, 0}));
}

} // namespace
} // namespace orvela
