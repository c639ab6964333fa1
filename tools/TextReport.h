#pragma once
// The report for a person: one verdict line per property as soon as it is
// decided, with its statistics and trace when asked for.

#include "Report.h"

#include <iosfwd>

namespace orvela::verifier {

/// "P: source -> target { guard g; sync s; assign u; }", empty parts left out.
void writeEdge(std::ostream& out, const EdgeText& edge);
/// "(P1.A, P2.B) v=1 w=0 {x<=2, y-x<3}".
void writeState(std::ostream& out, const StateText& state);

class TextReport {
public:
  TextReport(std::ostream& out, bool stats) : out_(out), stats_(stats) {}

  /// The verdict line "<verdict padded to 15> <property>  (<kind>[; <reason>])",
  /// then with statistics an indented line of them, then the trace if the
  /// report has one.
  void property(const PropertyReport& report);
  /// With statistics, the totals of a run that ended normally.
  void finish(const RunReport& run);

private:
  void trace(const PropertyReport& report);

  std::ostream& out_;
  bool stats_;
};

} // namespace orvela::verifier
