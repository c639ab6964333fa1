#include "Describe.h"

#include "JsonReport.h"
#include "JsonWriter.h"
#include "TraceText.h"
#include "base/Exceptions.h"
#include "model/ControlState.h"
#include "model/Process.h"
#include "model/System.h"
#include "session/Session.h"

#include <ostream>
#include <sstream>

namespace orvela::verifier {

namespace {

void writeLocation(JsonWriter& json, const Process& process, int index) {
  const ControlState& location = *process.getControlState(index);
  json.beginObject();
  json.member("name", location.getName());
  json.member("invariant", location.getInvariantText());
  json.member("initial", process.getInitial() == index);
  json.member("committed", location.isCommitted());
  json.member("urgent", location.isUrgent());
  json.endObject();
}

void writeProcess(JsonWriter& json, const Process& process) {
  json.beginObject();
  json.member("name", process.getName());
  json.key("locations");
  json.beginArray();
  for (int k = 0; k < process.getLocationCount(); ++k)
    writeLocation(json, process, k);
  json.endArray();
  json.key("edges");
  json.beginArray();
  for (const Pointer<Transition>& edge : process.getTransitions())
    writeEdge(json, describeEdge(*edge), false);
  json.endArray();
  json.endObject();
}

void writeModel(JsonWriter& json, const System& system) {
  const ModelTables& tables = system.tables();
  json.beginObject();
  json.key("clocks");
  json.beginArray();
  // Clock 0 is the reference clock, which the model did not declare.
  for (std::size_t k = 1; k < tables.clocks.size(); ++k)
    json.value(tables.clocks[k].name);
  json.endArray();
  json.key("integers");
  json.beginArray();
  // The records after `realInts` are the engine's own, not declarations.
  for (int k = 0; k < tables.realInts; ++k)
    json.value(tables.integers[std::size_t(k)].name);
  json.endArray();
  json.key("processes");
  json.beginArray();
  for (int p = 0; p < system.getProcessCount(); ++p)
    writeProcess(json, *system.getProcess(p));
  json.endArray();
  json.endObject();
}

void writeErrors(JsonWriter& json, const std::vector<ParseMessage>& messages) {
  json.beginObject();
  json.member("ok", false);
  json.key("errors");
  writeMessagePlaces(json, messages);
  json.endObject();
}

} // namespace

ExitCode describeModel(const std::string& model, std::ostream& out) {
  Session session;
  std::vector<ParseMessage> messages;
  std::istringstream text(model);
  JsonWriter json(out);
  try {
    session.loadSystem(text, &messages);
  } catch (const ProtocolError& error) {
    // A failure without a parser message still needs saying.
    if (messages.empty())
      messages.push_back({0, 0, error.what()});
    writeErrors(json, messages);
    return badInput;
  }
  json.beginObject();
  json.member("ok", true);
  json.key("model");
  writeModel(json, *session.system());
  json.endObject();
  return allSatisfied;
}

} // namespace orvela::verifier
