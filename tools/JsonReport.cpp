#include "JsonReport.h"

#include "JsonWriter.h"

#include <ostream>

namespace orvela::verifier {

namespace {

void writeOptions(JsonWriter& json, const SearchOptions& options, const SearchLimits& limits) {
  static const char* const orders[] = {"bfs", "dfs"};
  static const char* const representations[] = {"exact", "packed", "bitstate", "hull"};
  json.beginObject();
  json.key("order");
  json.value(orders[options.order == 1]);
  json.key("representation");
  json.value(representations[options.representation & 3]);
  json.key("reduction");
  json.value(options.spaceOpt);
  json.key("reuse");
  json.value(options.timeOpt);
  json.key("active_clocks");
  json.value(options.activeClocks);
  json.key("trace");
  json.value(options.saveTrace);
  json.key("zone_format");
  json.value(options.zoneFormat);
  json.key("time_limit");
  if (limits.seconds > 0)
    json.value(limits.seconds, 3);
  else
    json.null();
  json.key("memory_limit");
  if (limits.mebibytes > 0)
    json.value(limits.mebibytes, 1);
  else
    json.null();
  json.endObject();
}

void writeStatistics(JsonWriter& json, const Statistics& stats) {
  json.beginObject();
  json.key("explored");
  json.value(stats.explored);
  json.key("stored");
  json.value(stats.stored);
  json.key("seconds");
  json.value(stats.seconds, 6);
  json.key("peak_mib");
  json.value(stats.peakMiB, 1);
  json.endObject();
}

void writeEdge(JsonWriter& json, const EdgeText& edge) {
  json.beginObject();
  json.key("process");
  json.value(edge.process);
  json.key("source");
  json.value(edge.source);
  json.key("target");
  json.value(edge.target);
  json.key("guard");
  json.value(edge.guard);
  json.key("sync");
  json.value(edge.sync);
  json.key("updates");
  json.value(edge.updates);
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
  json.key("property");
  json.value(report.query.text);
  json.key("file");
  if (report.query.line > 0)
    json.value(report.query.source);
  else
    json.null();
  json.key("line");
  if (report.query.line > 0)
    json.value(report.query.line);
  else
    json.null();
  json.key("kind");
  if (const char* kind = kindName(report.kind))
    json.value(kind);
  else
    json.null();
  json.key("verdict");
  json.value(verdictName(report.verdict));
  json.key("reason");
  json.valueOrNull(report.reason);
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
        writeEdge(json, edge);
      json.endArray();
      json.key("state");
      writeState(json, step.state);
      json.endObject();
    }
    json.endArray();
  }
  json.key("loop_start");
  if (report.loopStart >= 0)
    json.value(report.loopStart);
  else
    json.null();
  json.key("trace_complete");
  json.value(!report.traceCut);
  json.key("stats");
  writeStatistics(json, report.stats);
  json.endObject();
}

} // namespace

void writeJsonReport(std::ostream& out, const RunReport& run) {
  JsonWriter json(out);
  json.beginObject();
  json.key("schema");
  json.value(1);
  json.key("model");
  json.value(run.model);
  json.key("options");
  writeOptions(json, run.options, run.limits);
  json.key("properties");
  json.beginArray();
  for (const PropertyReport& report : run.properties)
    writeProperty(json, report);
  json.endArray();
  json.key("stats");
  writeStatistics(json, run.total);
  json.key("error");
  json.valueOrNull(run.error);
  json.key("model_errors");
  json.beginArray();
  for (const std::string& message : run.modelMessages)
    json.value(message);
  json.endArray();
  json.key("exit_code");
  json.value(int(run.exitCode));
  json.endObject();
  out.flush();
}

} // namespace orvela::verifier
