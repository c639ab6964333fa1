#pragma once
// Error positions of a system description: the line counter of the scanner
// and the stream on which parse errors are reported, one line each.

#include <iosfwd>

namespace orvela {

/// The line the scanner is on, counted from 1 for every description.
extern int line;

/// Directs the messages of `gta_error` (and of the property parser) to
/// `stream`, which must stay valid until the next call. Standard error until
/// then.
void setErrorStream(std::ostream& stream);
/// The stream selected by `setErrorStream`.
std::ostream& errorStream();

} // namespace orvela

/// Writes "Error at line <line> : <message>" and a newline to the error
/// stream. Does not stop the parse by itself.
void gta_error(const char* message);
