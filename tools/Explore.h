#pragma once
// orvela --explore: the whole reachable state space of a model without a
// property, counted, and for small models drawn.

#include "Report.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvela {
class Session;
} // namespace orvela

namespace orvela::verifier {

/// The stored states of an exploration, each with the trace entry that names
/// it, and the moves by which the search first reached them.
struct ExploredGraph {
  struct Node {
    int id; ///< the state's trace entry
    StateText state;
  };
  struct Edge {
    int from, to; ///< trace entries of the states
    std::vector<EdgeText> edges;
  };
  std::vector<Node> nodes;
  std::vector<Edge> edges;
};

/// Explores the reachable states of the session's model as a check of
/// E<> false does, under the session's options and limits. Answers the
/// counts (`Exploration`); fills `graph` when it is not null, which needs
/// the session to keep traces.
Exploration explore(Session& session, ExploredGraph* graph);

} // namespace orvela::verifier
