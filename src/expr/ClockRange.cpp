#include "expr/ClockRange.h"

#include "symbolic/ClockInfo.h"

namespace orvela {

void insertClocks(Interval range, std::set<int>& into) {
  const int last = maximalClockCount - 1;
  const int from = std::max(range.first, 0);
  const int to = std::min(range.second, last);
  for (int clock = from; clock <= to; ++clock)
    into.insert(clock);
}

} // namespace orvela
