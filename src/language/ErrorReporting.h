#pragma once
// The form of the error messages of system descriptions and properties: one
// message per fault, with the place of the token it is about, and the
// helpers that word them (token names, the closest declared name).

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace orvela {

class SymbolTable;
struct Symbol;

/// One error of a parse: the line and column (both from 1) of the token it is
/// about, and what is wrong.
struct ParseMessage {
  int line = 0;
  int column = 0;
  std::string text;
  bool operator==(const ParseMessage&) const = default;
};

/// Writes "Error at line <line> : <message>" and a newline to `errors`.
void writeParseError(std::ostream& errors, int line, const char* message);
/// Writes "Error at line <line>, column <column> : <text>" and a newline.
void writeParseError(std::ostream& errors, const ParseMessage& message);

/// The edit distance of `a` and `b`: insertions, deletions, substitutions
/// and swaps of two neighbouring characters count one each.
int editDistance(std::string_view a, std::string_view b);

/// " (did you mean 'x'?)" for the name x of `candidates` closest to `name`,
/// when it is close enough to be a likely misspelling (at most one edit per
/// three characters, rounded to the nearest: none for a one-letter name);
/// empty otherwise. Ties go to the earlier candidate.
std::string suggestion(std::string_view name, const std::vector<std::string>& candidates);

/// The names of `frames` of `symbols` (innermost last, searched first) that
/// `accept` takes, without the inner entries of arrays ("a[]"): the
/// candidates of `suggestion`.
std::vector<std::string> namesOf(const SymbolTable& symbols,
                                 const std::vector<unsigned int>& frames,
                                 const std::function<bool(const Symbol&)>& accept);

/// How a message names a grammar token given its generated name (a token
/// name, a quoted character or the token's spelling): "';'", "'->'",
/// "'and'" or "'assign'" for punctuation and keywords (an upper-case token
/// name stands for its lower-case keyword unless it is one of the operator
/// or value tokens), "name", "number" and the like for the tokens with a
/// value; empty for the error and bad tokens, which are never expected.
std::string tokenDescription(std::string_view generatedName);

/// "unexpected <found>[, expected A, B or C]": the expected part only when
/// there are between one and four distinct descriptions (a longer list
/// tells nothing), duplicates dropped.
std::string unexpectedMessage(const std::string& found, const std::vector<std::string>& expected);

} // namespace orvela
