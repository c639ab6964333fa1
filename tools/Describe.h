#pragma once
// The structure of a model for a front end that draws it: the declared clocks
// and integers, and every process with its locations and edges in the texts
// the model gave them, as one JSON document; or the parser's messages with
// their places when the model does not load.

#include "Report.h"

#include <iosfwd>
#include <string>

namespace orvela::verifier {

/// Loads `model` (a system description) into a fresh session and writes
/// `{"ok":true,"model":{...}}` to `out`, or `{"ok":false,"errors":[...]}`
/// with each message's line and column when the model does not load (line
/// and column 0 for a failure the parser did not place). Answers
/// `allSatisfied` or `badInput` accordingly.
ExitCode describeModel(const std::string& model, std::ostream& out);

} // namespace orvela::verifier
