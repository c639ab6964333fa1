#pragma once
// Comparison codes shared by integer guards, clock constraints and
// properties.

namespace orvela {

/// A comparison of a left value with a right value. The numeric codes are
/// fixed: parsers produce them from the relational operators.
enum OpType : int {
  opGreaterEqual = 0, ///< >=
  opLessEqual = 1,    ///< <=
  opLess = 2,         ///< <
  opGreater = 3,      ///< >
  opEqual = 4,        ///< ==
  opNotEqual = 5,     ///< !=
};

} // namespace orvela
