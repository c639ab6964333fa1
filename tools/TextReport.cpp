#include "TextReport.h"

#include <iomanip>
#include <ostream>

namespace orvela::verifier {

namespace {

constexpr int verdictWidth = 15;

void writeStatistics(std::ostream& out, const Statistics& stats) {
  out << "explored " << stats.explored << ", stored " << stats.stored << ", " << std::fixed
      << std::setprecision(3) << stats.seconds << " s, peak " << std::setprecision(1)
      << stats.peakMiB << " MiB" << std::defaultfloat << std::setprecision(6);
}

/// The clock values of a concrete state, on a line of their own.
void writeClocks(std::ostream& out, const std::string& indent,
                 const std::vector<std::pair<std::string, std::string>>& clocks) {
  if (clocks.empty())
    return;
  const char* separator = "    ";
  out << indent;
  for (const auto& [name, value] : clocks) {
    out << separator << name << '=' << value;
    separator = ", ";
  }
  out << '\n';
}

} // namespace

void writeEdge(std::ostream& out, const EdgeText& edge) {
  out << edge.process << ": " << edge.source << " -> " << edge.target;
  if (edge.guard.empty() && edge.sync.empty() && edge.updates.empty())
    return;
  out << " {";
  if (!edge.guard.empty())
    out << " guard " << edge.guard << ';';
  if (!edge.sync.empty())
    out << " sync " << edge.sync << ';';
  if (!edge.updates.empty())
    out << " assign " << edge.updates << ';';
  out << " }";
}

void writeState(std::ostream& out, const StateText& state) {
  const char* separator = "(";
  for (const auto& [process, location] : state.locations) {
    out << separator << process << '.' << location;
    separator = ", ";
  }
  out << ')';
  for (const auto& [name, value] : state.variables)
    out << ' ' << name << '=' << value;
  if (state.zone.empty())
    return;
  separator = " {";
  for (const std::string& constraint : state.zone) {
    out << separator << constraint;
    separator = ", ";
  }
  out << '}';
}

void TextReport::property(const PropertyReport& report) {
  out_ << std::left << std::setw(verdictWidth) << verdictName(report.verdict) << std::right
       << report.query.text;
  const char* kind = kindName(report.kind);
  if (kind || !report.reason.empty()) {
    out_ << "  (" << (kind ? kind : "");
    if (kind && !report.reason.empty())
      out_ << "; ";
    out_ << report.reason << ')';
  }
  out_ << '\n';
  if (report.time) {
    out_ << std::string(verdictWidth, ' ') << "time " << (report.time->infimum ? "> " : "")
         << report.time->value << (report.time->infimum ? " (infimum)" : "") << '\n';
  }
  if (stats_) {
    out_ << std::string(verdictWidth, ' ');
    writeStatistics(out_, report.stats);
    out_ << '\n';
  }
  if (!report.trace.empty())
    trace(report);
  out_.flush();
}

void TextReport::trace(const PropertyReport& report) {
  const std::string indent(verdictWidth, ' ');
  const int steps = int(report.trace.size()) - 1;
  out_ << indent << "trace of " << steps << (steps == 1 ? " step" : " steps");
  if (report.loopStart >= 0)
    out_ << ", looping back to state " << report.loopStart << " after step " << steps;
  out_ << ":\n";
  for (std::size_t k = 0; k < report.trace.size(); ++k) {
    const TraceStep& step = report.trace[k];
    if (int(k) == report.loopStart + 1 && report.loopStart >= 0)
      out_ << indent << "  loop:\n";
    if (!step.delay.empty())
      out_ << indent << "  delay " << step.delay << '\n';
    if (k > 0) {
      // The edges of one move (a synchronisation) stand one under the other.
      std::string label = "  step " + std::to_string(k) + ": ";
      for (const EdgeText& edge : step.edges) {
        out_ << indent << label;
        writeEdge(out_, edge);
        out_ << '\n';
        label.assign(label.size(), ' ');
      }
    }
    out_ << indent << "  state " << k << ": ";
    writeState(out_, step.state);
    out_ << '\n';
    writeClocks(out_, indent, step.clocks);
  }
  if (!report.finalDelay.empty() && report.finalDelay != "0")
    out_ << indent << "  delay " << report.finalDelay << '\n';
  if (report.traceCut)
    out_ << indent << "  (the next step cannot be taken from this zone: the search "
         << "over-approximated it)\n";
}

void TextReport::finish(const RunReport& run) {
  for (const Warning& warning : run.warnings)
    out_ << "warning: " << warning.kind << ' ' << warning.count
         << (warning.count == 1 ? " time" : " times") << ", first at " << warning.where << '\n';
  if (!run.warnings.empty())
    out_ << "note: " << warningNote << '\n';
  if (const std::optional<Exploration>& found = run.exploration) {
    out_ << "explored " << found->explored << ", stored " << found->stored << ", "
         << found->discrete << " discrete states";
    if (!found->stopReason.empty())
      out_ << " (stopped: " << found->stopReason << ')';
    out_ << '\n';
  }
  if (stats_ && run.error.empty() && !run.exploration) {
    out_ << "total: " << run.properties.size()
         << (run.properties.size() == 1 ? " property, " : " properties, ");
    writeStatistics(out_, run.total);
    out_ << '\n';
  }
  out_.flush();
}

} // namespace orvela::verifier
