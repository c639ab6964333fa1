#include "model/IntegerInfo.h"

#include <cstring>
#include <ostream>

namespace orvela {

std::vector<IntegerInfo> IntegerInfo::integers;
int IntegerInfo::realInts = 0;

int IntegerInfo::addInteger(const char* name, int lower, int upper, int initial) {
  const int index = static_cast<int>(integers.size());
  integers.push_back({lower, upper, initial, index, name, false});
  ++realInts;
  return index;
}

int IntegerInfo::getOffset(const char* name) {
  for (const IntegerInfo& info : integers)
    if (std::strcmp(info.name.c_str(), name) == 0)
      return info.index;
  return -1;
}

void IntegerInfo::printInfo(std::ostream& out) {
  for (const IntegerInfo& info : integers)
    out << info << '\n';
}

std::ostream& operator<<(std::ostream& out, const IntegerInfo& info) {
  return out << "Integer " << info.name.c_str() << " (" << info.index << ")\n"
             << "  Domain: [" << info.lower << ", " << info.upper << "] = " << info.initial << '\n';
}

} // namespace orvela
