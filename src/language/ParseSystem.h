#pragma once
// Loading a system description: the one call that turns a description into
// a constructed model.

#include "language/ErrorReporting.h"
#include "model/System.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace orvela {

/// Parses the system description read from `description` and answers the
/// constructed system (`System::construct` has run), or null when the
/// description has errors.
///
/// Every description is read from scratch into a parse of its own: the
/// system that comes out owns its names and its integer, clock and channel
/// tables, and a failed parse leaves nothing behind. Nothing is shared
/// between parses, so descriptions may be parsed in several threads at once.
/// Parse errors are written to `errors`, one "Error at line N : message"
/// line each, and kept with their line and column in `messages` when it is
/// not null. Throws `RuntimeError` for a failure of the input stream.
Pointer<System> parseSystem(std::istream& description, std::ostream& errors,
                            std::vector<ParseMessage>* messages = nullptr);

/// The same over a text; the error messages are stored in `messages` when it
/// is not null.
Pointer<System> parseSystem(std::string_view description, std::string* messages = nullptr);

} // namespace orvela
