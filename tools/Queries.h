#pragma once
// The properties to check: from the command line and from a query file.

#include <iosfwd>
#include <string>
#include <vector>

namespace orvela::verifier {

/// One property and where it was written.
struct Query {
  std::string text;   ///< the property, without comment or surrounding blanks
  std::string source; ///< the query file's name, or "-e" for the command line
  int line = 0;       ///< its first line in the file (0 on the command line)
};

/// The properties of a query file: one per line. Blank lines and lines whose
/// first non-blank characters are // are skipped, a // comment after a
/// property is dropped, and a line ending in a backslash is joined with the
/// next one. Carriage returns before line ends are ignored.
std::vector<Query> readQueries(std::istream& in, const std::string& source);

} // namespace orvela::verifier
