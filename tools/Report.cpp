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

const char* kindName(std::optional<PropertyKind> kind) {
  if (!kind)
    return nullptr;
  switch (*kind) {
  case PropertyKind::invariantly:
    return "invariantly";
  case PropertyKind::possibly:
    return "possibly";
  case PropertyKind::potentiallyAlways:
    return "potentially always";
  case PropertyKind::eventually:
    return "eventually";
  case PropertyKind::leadsTo:
    return "leads to";
  case PropertyKind::quit:
  case PropertyKind::none:
    break;
  }
  return nullptr;
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
