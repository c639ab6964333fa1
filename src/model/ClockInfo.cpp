#include "model/ClockInfo.h"

#include "server/base/Exceptions.h"

#include <ostream>

namespace orvela {

std::vector<ClockInfo> ClockInfo::clocks;

int ClockInfo::addClock(const char* name) {
  const int index = static_cast<int>(clocks.size());
  clocks.push_back({index, name});
  return index;
}

void ClockInfo::removeClock(int) { throw Bug("NI: %s", "static void ClockInfo::removeClock(int)"); }

void ClockInfo::printInfo(std::ostream& out) {
  out << "ClockInfo:\n";
  for (std::size_t position = 0; position < clocks.size(); ++position)
    out << "  Clock #" << position << "  " << clocks[position].name.c_str() << " ("
        << clocks[position].index << ")\n";
}

} // namespace orvela
