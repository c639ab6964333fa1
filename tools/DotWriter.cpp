#include "DotWriter.h"

#include <ostream>
#include <set>

namespace orvela::verifier {

namespace {

/// `text` as the inside of a dot string: quotes and backslashes escaped.
std::string quoted(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '"' || c == '\\')
      escaped += '\\';
    escaped += c;
  }
  return escaped;
}

/// Appends `part` to `text`, after `separator` unless `text` is empty.
void append(std::string& text, const char* separator, const std::string& part) {
  if (!text.empty())
    text.append(separator);
  text.append(part);
}

/// "P1.A P2.B\nv=1\nx<=2, y-x<3": locations, variables, zone, one line each.
std::string stateLabel(const StateText& state) {
  std::string locations, variables, zone;
  for (const auto& [process, location] : state.locations)
    append(locations, " ", quoted(process + '.' + location));
  for (const auto& [name, value] : state.variables)
    append(variables, " ", quoted(name + '=' + std::to_string(value)));
  for (const std::string& constraint : state.zone)
    append(zone, ", ", quoted(constraint));
  std::string label = locations;
  for (const std::string* line : {&variables, &zone})
    if (!line->empty())
      append(label, "\\n", *line);
  return label;
}

/// "P: A -> B", one line per edge of the move.
std::string moveLabel(const std::vector<EdgeText>& edges) {
  std::string label;
  for (const EdgeText& edge : edges)
    append(label, "\\n", quoted(edge.process + ": " + edge.source + " -> " + edge.target));
  return label;
}

} // namespace

void writeExploredGraph(std::ostream& out, const ExploredGraph& graph) {
  out << "digraph explored {\n  node [shape=box, fontname=\"monospace\"];\n";
  // The pieces of a state split along a difference constraint keep its
  // trace entry: they are drawn as one state, reached by one arrow.
  std::set<int> drawn;
  for (const ExploredGraph::Node& node : graph.nodes)
    if (drawn.insert(node.id).second)
      out << "  s" << node.id << " [label=\"" << stateLabel(node.state) << "\"];\n";
  std::set<std::pair<int, int>> joined;
  for (const ExploredGraph::Edge& edge : graph.edges)
    if (joined.insert({edge.from, edge.to}).second)
      out << "  s" << edge.from << " -> s" << edge.to << " [label=\"" << moveLabel(edge.edges)
          << "\"];\n";
  out << "}\n";
}

} // namespace orvela::verifier
