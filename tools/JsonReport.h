#pragma once
// The report for programs: one JSON document for the whole run, written when
// the run ends. Its schema is documented in the README; fields may be added
// later, never renamed or removed.

#include "Report.h"

#include <iosfwd>

namespace orvela::verifier {

class JsonWriter;

/// Writes `edge` as an object: its process (when `withProcess`), source,
/// target, guard, sync and updates texts.
void writeEdge(JsonWriter& json, const EdgeText& edge, bool withProcess);

/// Writes the parser's `messages` as an array of objects with their line,
/// column and message.
void writeMessagePlaces(JsonWriter& json, const std::vector<ParseMessage>& messages);

/// Writes `run` as the JSON document of schema 1.
void writeJsonReport(std::ostream& out, const RunReport& run);

} // namespace orvela::verifier
