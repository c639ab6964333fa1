#include "JsonReport.h"

#include "JsonWriter.h"

#include <ostream>

namespace orvela::verifier {

namespace {

void writeOptions(JsonWriter& json, const SearchOptions& options, const SearchLimits& limits) {
  static const char* const orders[] = {"bfs", "dfs"};
  static const char* const representations[] = {"exact", "packed", "bitstate", "hull"};
  static const char* const extrapolations[] = {"global-max", "local-max", "global-lu", "local-lu"};
  static const char* const subsumptions[] = {"inclusion", "lu"};
  static const char* const traceKinds[] = {"some", "shortest", "fastest"};
  json.beginObject();
  json.member("order", orders[options.order == SearchOrder::depthFirst]);
  json.member("representation", representations[int(options.representation) & 3]);
  json.member("reduction", int(options.reduction));
  json.member("reuse", options.reuse);
  json.member("active_clocks", options.activeClocks);
  json.member("extrapolation", extrapolations[int(options.extrapolation)]);
  json.member("subsumption", subsumptions[int(options.subsumption)]);
  json.member("trace", options.trace);
  json.member("trace_kind", traceKinds[int(options.traceKind)]);
  json.member("zone_format", int(options.zoneFormat));
  json.member("threads", int(threadCount(options)));
  json.memberIf("time_limit", limits.seconds > 0, limits.seconds, 3);
  json.memberIf("memory_limit", limits.mebibytes > 0, limits.mebibytes, 1);
  json.endObject();
}

void writeStatistics(JsonWriter& json, const Statistics& stats) {
  json.beginObject();
  json.member("explored", stats.explored);
  json.member("stored", stats.stored);
  json.member("seconds", stats.seconds, 6);
  json.member("peak_mib", stats.peakMiB, 1);
  json.endObject();
}

void writeState(JsonWriter& json, const StateText& state) {
  json.beginObject();
  json.key("locations");
  json.beginObject();
  for (const auto& [process, location] : state.locations) {
    json.key(process);
    json.value(location);
  }
  json.endObject();
  json.key("variables");
  json.beginObject();
  for (const auto& [name, value] : state.variables) {
    json.key(name);
    json.value(value);
  }
  json.endObject();
  json.key("zone");
  json.beginArray();
  for (const std::string& constraint : state.zone)
    json.value(constraint);
  json.endArray();
  json.endObject();
}

void writeProperty(JsonWriter& json, const PropertyReport& report) {
  json.beginObject();
  json.member("property", report.query.text);
  const bool inFile = report.query.line > 0;
  json.memberIf("file", inFile, report.query.source);
  json.memberIf("line", inFile, report.query.line);
  json.memberIf("column", report.column > 0, report.column);
  const char* kind = kindName(report.kind);
  json.memberIf("kind", kind != nullptr, kind);
  json.member("verdict", verdictName(report.verdict));
  json.memberIf("reason", !report.reason.empty(), report.reason);
  json.key("trace");
  if (report.trace.empty()) {
    json.null();
  } else {
    json.beginArray();
    for (const TraceStep& step : report.trace) {
      json.beginObject();
      json.key("edges");
      json.beginArray();
      for (const EdgeText& edge : step.edges)
        writeEdge(json, edge, true);
      json.endArray();
      json.key("state");
      writeState(json, step.state);
      if (!step.delay.empty())
        json.member("delay", step.delay);
      if (!step.clocks.empty()) {
        json.key("clocks");
        json.beginObject();
        for (const auto& [name, value] : step.clocks)
          json.member(name, value);
        json.endObject();
      }
      json.endObject();
    }
    json.endArray();
  }
  json.memberIf("loop_start", report.loopStart >= 0, report.loopStart);
  json.member("trace_complete", !report.traceCut);
  if (!report.finalDelay.empty())
    json.member("final_delay", report.finalDelay);
  // The least total delay of a fastest trace; "time_infimum" says that it
  // is only approached (a strict bound).
  json.memberIf("time", report.time.has_value(), report.time ? report.time->value : 0);
  json.memberIf("time_infimum", report.time.has_value(), report.time && report.time->infimum);
  json.key("stats");
  writeStatistics(json, report.stats);
  json.endObject();
}

} // namespace

void writeEdge(JsonWriter& json, const EdgeText& edge, bool withProcess) {
  json.beginObject();
  if (withProcess)
    json.member("process", edge.process);
  json.member("source", edge.source);
  json.member("target", edge.target);
  json.member("guard", edge.guard);
  json.member("sync", edge.sync);
  json.member("updates", edge.updates);
  json.endObject();
}

void writeMessagePlaces(JsonWriter& json, const std::vector<ParseMessage>& messages) {
  json.beginArray();
  for (const ParseMessage& message : messages) {
    json.beginObject();
    json.member("line", message.line);
    json.member("column", message.column);
    json.member("message", message.text);
    json.endObject();
  }
  json.endArray();
}

void writeJsonReport(std::ostream& out, const RunReport& run) {
  JsonWriter json(out);
  json.beginObject();
  json.member("schema", 1);
  json.member("model", run.model);
  json.key("options");
  writeOptions(json, run.options, run.limits);
  json.key("properties");
  json.beginArray();
  for (const PropertyReport& report : run.properties)
    writeProperty(json, report);
  json.endArray();
  json.key("exploration");
  if (const std::optional<Exploration>& found = run.exploration) {
    json.beginObject();
    json.member("explored", found->explored);
    json.member("stored", found->stored);
    json.member("discrete_states", found->discrete);
    json.memberIf("reason", !found->stopReason.empty(), found->stopReason);
    json.endObject();
  } else {
    json.null();
  }
  json.key("stats");
  writeStatistics(json, run.total);
  json.memberIf("error", !run.error.empty(), run.error);
  json.key("warnings");
  json.beginArray();
  for (const Warning& warning : run.warnings) {
    json.beginObject();
    json.member("kind", warning.kind);
    json.member("count", warning.count);
    json.member("where", warning.where);
    json.endObject();
  }
  json.endArray();
  json.memberIf("warnings_note", !run.warnings.empty(), std::string(warningNote));
  json.key("model_errors");
  json.beginArray();
  for (const ParseMessage& message : run.modelMessages)
    json.value("Error at line " + std::to_string(message.line) + " : " + message.text);
  json.endArray();
  json.key("model_error_places");
  writeMessagePlaces(json, run.modelMessages);
  json.member("exit_code", int(run.exitCode));
  json.endObject();
  out.flush();
}

} // namespace orvela::verifier
