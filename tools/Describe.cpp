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

void writeNames(JsonWriter& json, std::vector<std::string>::const_iterator first,
                std::vector<std::string>::const_iterator last) {
  json.beginArray();
  for (; first != last; ++first)
    json.value(*first);
  json.endArray();
}

void writeModel(JsonWriter& json, const LoadedModel& model) {
  json.beginObject();
  json.key("clocks");
  // Clock 0 is the reference clock, which the model did not declare.
  const std::vector<std::string> clocks = model.clockNames();
  writeNames(json, clocks.begin() + 1, clocks.end());
  json.key("integers");
  const std::vector<std::string> integers = model.integerNames();
  writeNames(json, integers.begin(), integers.end());
  json.key("processes");
  json.beginArray();
  const System& system = *model.system();
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
  writeModel(json, session.model());
  json.endObject();
  return allSatisfied;
}

} // namespace orvela::verifier
