#include "Explore.h"

#include "TraceText.h"
#include "session/Session.h"

#include <set>

namespace orvela::verifier {

Exploration explore(Session& session, ExploredGraph* graph) {
  const System& system = *session.system();
  const ZoneFormat zoneFormat = session.options().zoneFormat;
  const int compared = system.tables().realInts; // meta integers tell no states apart
  std::set<std::vector<int>> discrete;
  const CheckResult result =
      session.explore([&](const GlobalState& state, int parent, const Transition* const* move) {
        std::vector<int> key(state.getLocations(), state.getLocations() + state.getProcessCount());
        const int* values = state.getIntegerTable()->getValues();
        key.insert(key.end(), values, values + compared);
        discrete.insert(std::move(key));
        if (!graph)
          return;
        graph->nodes.push_back({state.getTraceId(), describeState(system, state, zoneFormat)});
        if (parent < 0)
          return;
        ExploredGraph::Edge edge{parent, state.getTraceId(), {}};
        for (const Transition* const* taken = move; *taken; ++taken)
          edge.edges.push_back(describeEdge(**taken));
        graph->edges.push_back(std::move(edge));
      });
  return {result.explored, result.stored, discrete.size(), result.stopReason};
}

} // namespace orvela::verifier
