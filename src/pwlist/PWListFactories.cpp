#include "pwlist/PWListFactories.h"

#include "model/ClockInfo.h"
#include "model/IntegerInfo.h"
#include "pwlist/HashingPWList.h"
#include "server/base/Exceptions.h"

namespace orvela {

WaitingStore* createQueuePWOrder() { return new WaitingQueueStore2(); }

WaitingStore* createStackPWOrder() { return new WaitingStackStore2(); }

WaitingStore* createPriorityPWOrder(PriorityFunction priority) {
  return new PriorityPWListStore(priority);
}

PWList* createDBMPWList(unsigned buckets, Object* store, const StateShape& shape) {
  auto* order = dynamic_cast<WaitingStore*>(store);
  if (!order)
    throw Bug("createDBMPWList needs a waiting store");
  return new HashingPWList(buckets, order, shape);
}

PWList* createDBMPWList(unsigned buckets, Object* store, const Pointer<System>& system) {
  return createDBMPWList(buckets, store, stateShapeOf(*system));
}

StateShape stateShapeOf(const System& system) {
  return {unsigned(system.getProcessCount()), unsigned(IntegerInfo::integers.size()),
          unsigned(IntegerInfo::realInts), unsigned(ClockInfo::clocks.size())};
}

} // namespace orvela
