#include "model/ModelTables.h"

#include "model/ClockInfo.h"
#include "model/IntegerInfo.h"

namespace orvela {

void resetModelTables() {
  IntegerInfo::integers.clear();
  IntegerInfo::realInts = 0;
  ClockInfo::clocks.clear();
  tauClock = -1;
  ClockInfo::addClock(referenceClockName);
}

} // namespace orvela
