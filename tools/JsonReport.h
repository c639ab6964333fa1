#pragma once
// The report for programs: one JSON document for the whole run, written when
// the run ends. Its schema is documented in the README; fields may be added
// later, never renamed or removed.

#include "Report.h"

#include <iosfwd>

namespace orvela::verifier {

/// Writes `run` as the JSON document of schema 1.
void writeJsonReport(std::ostream& out, const RunReport& run);

} // namespace orvela::verifier
