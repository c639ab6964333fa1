#pragma once
// The form of the error messages of a system description, one line each.

#include <iosfwd>

namespace orvela {

/// Writes "Error at line <line> : <message>" and a newline to `errors`.
void writeParseError(std::ostream& errors, int line, const char* message);

} // namespace orvela
