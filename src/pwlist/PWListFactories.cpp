#include "pwlist/PWListFactories.h"

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

} // namespace orvela
