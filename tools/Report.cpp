#include "Report.h"

namespace orvela::verifier {

const char* verdictName(Verdict verdict) {
  switch (verdict) {
  case Verdict::satisfied:
    return "satisfied";
  case Verdict::notSatisfied:
    return "not satisfied";
  case Verdict::maybe:
    return "maybe";
  case Verdict::unknown:
    break;
  }
  return "unknown";
}

const char* kindName(int kind) {
  static const char* const names[] = {"invariantly", "possibly", "potentially always", "eventually",
                                      "leads to"};
  return kind >= 0 && kind < 5 ? names[kind] : nullptr;
}

ExitCode exitCodeOf(const std::vector<PropertyReport>& properties, ExitCode failure) {
  if (failure == internalFailure || failure == badInput)
    return failure;
  bool notSatisfied = false, undecided = false;
  for (const PropertyReport& report : properties) {
    if (report.badInput)
      return badInput;
    notSatisfied |= report.verdict == Verdict::notSatisfied;
    undecided |= report.verdict == Verdict::maybe || report.verdict == Verdict::unknown;
  }
  if (notSatisfied)
    return someNotSatisfied;
  return undecided ? inconclusive : allSatisfied;
}

} // namespace orvela::verifier
