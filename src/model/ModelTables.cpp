#include "model/ModelTables.h"

namespace orvela {

void resetModelTables() {
  IntegerInfo::integers.clear();
  IntegerInfo::realInts = 0;
  channelInfo.clear();
  ClockInfo::clocks.clear();
  ClockInfo::addClock(referenceClockName);
}

ModelTablesSnapshot::ModelTablesSnapshot()
    : integers_(IntegerInfo::integers), realInts_(IntegerInfo::realInts),
      clocks_(ClockInfo::clocks), channels_(channelInfo) {}

void ModelTablesSnapshot::restore() const {
  IntegerInfo::integers = integers_;
  IntegerInfo::realInts = realInts_;
  ClockInfo::clocks = clocks_;
  channelInfo = channels_;
}

} // namespace orvela
