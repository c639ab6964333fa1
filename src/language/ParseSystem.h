#pragma once
// Loading a system description: the one call that turns a description into
// a constructed model.

#include "model/System.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace orvela {

/// Parses the system description read from `description` and answers the
/// constructed system (`System::construct` has run), or null when the
/// description has errors.
///
/// Before parsing, the symbol table and the integer, clock and channel tables
/// are emptied (the clock table keeps only "t(0)"), so every description is
/// read from scratch. On success the tables describe the new model. On
/// failure the tables are put back as they were before the call, so the
/// previously loaded model stays consistent with them, and nothing of the
/// failed description remains. Parse errors are written to `errors`, one
/// "Error at line N : message" line each; the error stream in force before
/// the call is restored afterwards. Throws `RuntimeError` for a failure of
/// the input stream, with the tables put back likewise.
Pointer<System> parseSystem(std::istream& description, std::ostream& errors);

/// The same over a text; the error messages are stored in `messages` when it
/// is not null.
Pointer<System> parseSystem(std::string_view description, std::string* messages = nullptr);

} // namespace orvela
