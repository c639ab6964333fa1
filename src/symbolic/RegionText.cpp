// Text forms of regions, with the clock names of a model.

#include "symbolic/ClockInfo.h"
#include "symbolic/PackedRegion.h"
#include "symbolic/UnpackedRegion.h"

#include <cassert>
#include <ostream>

namespace orvela {
namespace {

const char* clockName(const std::vector<ClockInfo>& clocks, unsigned k) {
  assert(k < clocks.size() && "region wider than the clock table");
  return clocks[k].name.c_str();
}

const char* upperRelation(int32_t raw) { return rawIsStrict(raw) ? "<" : "<="; }
const char* lowerRelation(int32_t raw) { return rawIsStrict(raw) ? ">" : ">="; }

/// The constant of a finite bound, or "inf".
void writeConstant(std::ostream& out, int32_t raw) {
  if (rawIsInfinite(raw))
    out << "inf";
  else
    out << rawConstant(raw);
}

/// The negated constant of a lower bound, or "inf".
void writeNegatedConstant(std::ostream& out, int32_t raw) {
  if (rawIsInfinite(raw))
    out << "inf";
  else
    out << -rawConstant(raw);
}

} // namespace

void UnpackedRegion::display(std::ostream& out, const std::vector<ClockInfo>& clocks) const {
  const unsigned n = dim_;
  const char* separator = "";
  for (unsigned i = 0; i < n; ++i)
    for (unsigned j = 0; j < n; ++j) {
      const int32_t raw = get(i, j);
      if (i == j || rawIsInfinite(raw) || (i == 0 && raw == rawLessEqualZero))
        continue;
      out << separator;
      separator = ", ";
      if (i == 0) {
        out << clockName(clocks, j) << lowerRelation(raw) << -rawConstant(raw);
        continue;
      }
      out << clockName(clocks, i);
      if (j != 0)
        out << '-' << clockName(clocks, j);
      out << upperRelation(raw) << rawConstant(raw);
    }
}

void UnpackedRegion::displayAsQuery(std::ostream& out, const std::vector<ClockInfo>& clocks) const {
  const unsigned n = dim_;
  for (unsigned i = 0; i < n; ++i)
    for (unsigned j = 0; j < n; ++j) {
      const int32_t raw = get(i, j);
      if (i == j || rawIsInfinite(raw))
        continue;
      if (i == 0) {
        // Only x >= 0, which every region has, goes without saying; x > 0
        // is a constraint like any other.
        if (raw == rawLessEqualZero)
          continue;
        out << " and " << clockName(clocks, j) << lowerRelation(raw) << -rawConstant(raw);
        continue;
      }
      out << " and " << clockName(clocks, i) << upperRelation(raw);
      if (j != 0) {
        out << clockName(clocks, j);
        if (raw >= 2)
          out << '+';
        if (rawConstant(raw) != 0)
          out << rawConstant(raw);
      } else {
        out << rawConstant(raw);
      }
    }
}

void PackedRegion::display(std::ostream& out, const std::vector<ClockInfo>& clocks) const {
  const unsigned n = dim_;
  const int32_t* kept = keptBounds();
  for (unsigned k = 0; k < n * n; ++k) {
    if (!isKept(k))
      continue;
    const int32_t raw = *kept++;
    const unsigned i = k / n, j = k % n;
    if (i == 0) {
      out << clockName(clocks, j) << lowerRelation(raw);
      writeNegatedConstant(out, raw);
    } else {
      out << clockName(clocks, i);
      if (j != 0)
        out << '-' << clockName(clocks, j);
      out << upperRelation(raw);
      writeConstant(out, raw);
    }
    out << ", ";
  }
}

} // namespace orvela
