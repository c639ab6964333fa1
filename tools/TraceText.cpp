#include "TraceText.h"

#include "model/ControlState.h"
#include "model/Process.h"
#include "model/System.h"
#include "model/Transition.h"
#include "symbolic/GlobalState.h"
#include "symbolic/PackedRegion.h"

#include <memory>
#include <sstream>

namespace orvela::verifier {

namespace {

/// Splits the ", "-separated text form of a zone into its constraints.
template <class Zone>
std::vector<std::string> constraintsOf(const Zone& zone, const std::vector<ClockInfo>& clocks) {
  std::ostringstream text;
  zone.display(text, clocks);
  std::vector<std::string> constraints;
  const std::string all = text.str();
  for (std::size_t at = 0; at < all.size();) {
    std::size_t end = all.find(", ", at);
    if (end == std::string::npos)
      end = all.size();
    if (end > at)
      constraints.push_back(all.substr(at, end - at));
    at = end + 2;
  }
  return constraints;
}

} // namespace

EdgeText describeEdge(const Transition& edge) {
  const Process* process = edge.getProcessObject();
  EdgeText text;
  if (process) {
    text.process = process->getName();
    text.source = process->getControlState(edge.getSource())->getName();
    text.target = process->getControlState(edge.getTarget())->getName();
  }
  text.guard = edge.getGuardText();
  // An edge without synchronisation carries the value 0 (its text is the
  // internal "tau"), which the model did not write.
  const Pointer<Expression>& sync = edge.getSync();
  if (sync && sync->getRange() != Interval(0, 0))
    text.sync = edge.getSyncText();
  text.updates = edge.getAssignmentText();
  return text;
}

StateText describeState(const System& system, const GlobalState& state, ZoneFormat zoneFormat) {
  StateText text;
  for (int p = 0; p < system.getProcessCount(); ++p) {
    const Process& process = *system.getProcess(p);
    text.locations.emplace_back(process.getName(),
                                process.getControlState(state.getLocation(unsigned(p)))->getName());
  }
  const ModelTables& tables = system.tables();
  const IntegerTable& table = *state.getIntegerTable();
  for (int k = 0; k < tables.realInts; ++k)
    text.variables.emplace_back(tables.integers[std::size_t(k)].name.c_str(), table[k]);

  // The unpacked form shows every finite bound, the packed form exactly the
  // constraints that no other one implies.
  const UnpackedRegion& zone = *state.getUnpackedRegion();
  text.zone = zoneFormat != ZoneFormat::full
                  ? constraintsOf(*PackedRegion::pack(zone), tables.clocks)
                  : constraintsOf(zone, tables.clocks);
  return text;
}

} // namespace orvela::verifier
