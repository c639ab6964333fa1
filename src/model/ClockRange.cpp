#include "model/ClockRange.h"

#include "model/ClockInfo.h"

namespace orvela {

void insertClocks(Interval range, std::set<int>& into) {
  const int last = static_cast<int>(ClockInfo::clocks.size()) - 1;
  const int from = std::max(range.first, 0);
  const int to = std::min(range.second, last);
  for (int clock = from; clock <= to; ++clock)
    into.insert(clock);
}

} // namespace orvela
