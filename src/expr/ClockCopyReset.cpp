#include "expr/ClockCopyReset.h"

#include "expr/ClockRange.h"
#include "expr/ExpressionVisitor.h"
#include "expr/TypeCodes.h"
#include "symbolic/GlobalState.h"
#include "symbolic/PublicState.h"

namespace orvela {

ClockCopyReset::ClockCopyReset(const Pointer<Expression>& source,
                               const Pointer<Expression>& destination)
    : source_(source), destination_(destination) {}

void ClockCopyReset::accept(ExpressionVisitor& visitor) { visitor.visitClockCopyReset(this); }

void ClockCopyReset::evaluate(PublicState* state, int*) const {
  UnpackedRegion* zone = state->getGlobalState()->getUnpackedRegion();
  const unsigned s = unsigned(source_->evaluateScalar(state));
  const unsigned d = unsigned(destination_->evaluateScalar(state));
  const unsigned n = zone->getDim();
  assert(s < n && d < n && "clock copy beyond the zone");
  int32_t* m = zone->bounds();
  int32_t* rowS = m + s * n;
  int32_t* rowD = m + d * n;
  for (unsigned i = 0; i < n; ++i) {
    if (i == s || i == d)
      continue;
    rowD[i] = rowS[i];
    m[i * n + d] = m[i * n + s];
  }
  rowS[d] = rawLessEqualZero;
  rowD[s] = rawLessEqualZero;
}

void ClockCopyReset::regClockUse(Process*, std::set<int>& used, std::set<int>& reset) {
  insertClocks(source_->getRange(), used);
  const Interval destinations = destination_->getRange();
  if (destinations.first == destinations.second)
    insertClocks(destinations, reset);
}

int ClockCopyReset::getType() const { return clockTypeCode; }

} // namespace orvela
