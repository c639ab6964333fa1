#include "DotWriter.h"

#include "TextReport.h"

#include <ostream>
#include <set>
#include <sstream>

namespace orvela::verifier {

namespace {

/// `text` as a double-quoted Graphviz string; its lines become label lines.
std::string quoted(const std::string& text) {
  std::string result = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\')
      result += '\\';
    if (c == '\n')
      result += "\\n";
    else
      result += c;
  }
  return result + '"';
}

std::string stateLabel(const StateText& state) {
  std::ostringstream text;
  writeState(text, state);
  return text.str();
}

std::string stateLabel(const TraceStep& step) {
  StateText state = step.state;
  if (!step.clocks.empty()) {
    state.zone.clear();
    for (const auto& [name, value] : step.clocks)
      state.zone.push_back(name + "=" + value);
  }
  return stateLabel(state);
}

std::string movesLabel(const std::vector<EdgeText>& edges) {
  std::ostringstream text;
  const char* separator = "";
  for (const EdgeText& edge : edges) {
    text << separator;
    writeEdge(text, edge);
    separator = "\n";
  }
  return text.str();
}

std::string stepLabel(const TraceStep& step) {
  std::ostringstream text;
  if (!step.delay.empty())
    text << "delay " << step.delay << '\n';
  return text.str() + movesLabel(step.edges);
}

} // namespace

void writeTraceDot(std::ostream& out, const PropertyReport& report) {
  out << "digraph trace {\n  node [shape=box];\n";
  out << "  label=" << quoted(report.query.text) << ";\n";
  const std::size_t last = report.trace.size() - 1;
  for (std::size_t k = 0; k <= last; ++k) {
    std::string label = stateLabel(report.trace[k]);
    if (k == last && !report.finalDelay.empty() && report.finalDelay != "0")
      label += "\nthen delay " + report.finalDelay;
    out << "  s" << k << " [label=" << quoted(label) << "];\n";
  }
  for (std::size_t k = 1; k < report.trace.size(); ++k)
    out << "  s" << k - 1 << " -> s" << k << " [label=" << quoted(stepLabel(report.trace[k]))
        << "];\n";
  if (report.loopStart >= 0)
    out << "  s" << last << " -> s" << report.loopStart << " [style=dashed, label=\"loop\"];\n";
  out << "}\n";
}

void writeExploredGraph(std::ostream& out, const ExploredGraph& graph) {
  out << "digraph explored {\n  node [shape=box];\n";
  // The pieces of a state split along a difference constraint keep its
  // trace entry: they are drawn as one state, reached by one arrow.
  std::set<int> drawn;
  for (const ExploredGraph::Node& node : graph.nodes)
    if (drawn.insert(node.id).second)
      out << "  s" << node.id << " [label=" << quoted(stateLabel(node.state)) << "];\n";
  std::set<std::pair<int, int>> joined;
  for (const ExploredGraph::Edge& edge : graph.edges)
    if (joined.insert({edge.from, edge.to}).second)
      out << "  s" << edge.from << " -> s" << edge.to
          << " [label=" << quoted(movesLabel(edge.edges)) << "];\n";
  out << "}\n";
}

} // namespace orvela::verifier
