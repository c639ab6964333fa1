#include "pwlist/PWListFactories.h"

#include "base/Exceptions.h"
#include "pwlist/BitStateHashingPWList.h"
#include "pwlist/ConvexHullPWList.h"
#include "pwlist/HashingPWList.h"
#include "pwlist/PackedPWList.h"

namespace orvela {

namespace {

WaitingStore* waitingStoreOf(Object* store, const char* factory) {
  auto* order = dynamic_cast<WaitingStore*>(store);
  if (!order)
    throw Bug("%s needs a waiting store", factory);
  return order;
}

} // namespace

WaitingStore* createQueuePWOrder() { return new WaitingQueueStore2(); }

WaitingStore* createStackPWOrder() { return new WaitingStackStore2(); }

WaitingStore* createPriorityPWOrder(PriorityFunction priority, const int* cutoff) {
  return new PriorityPWListStore(std::move(priority), cutoff);
}

PWList* createDBMPWList(unsigned buckets, Object* store, const StateShape& shape) {
  return new HashingPWList(buckets, waitingStoreOf(store, "createDBMPWList"), shape);
}

PWList* createPackedPWList(unsigned buckets, Object* store, const StateShape& shape) {
  return new PackedPWList(buckets, waitingStoreOf(store, "createPackedPWList"), shape);
}

PWList* createConvexHullPWList(unsigned buckets, Object* store, const StateShape& shape) {
  return new ConvexHullPWList(buckets, waitingStoreOf(store, "createConvexHullPWList"), shape);
}

PWList* createBitStateHashingPWList(unsigned buckets, Object* store, unsigned bits,
                                    const StateShape& shape) {
  return new BitStateHashingPWList(buckets, waitingStoreOf(store, "createBitStateHashingPWList"),
                                   bits, shape);
}

PWList* createDBMPWList(unsigned buckets, Object* store, const Pointer<System>& system) {
  return createDBMPWList(buckets, store, stateShapeOf(*system));
}

StateShape stateShapeOf(const System& system) {
  const ModelTables& tables = system.tables();
  return {unsigned(system.getProcessCount()), unsigned(tables.integerCount()),
          unsigned(tables.realInts), unsigned(tables.clockCount())};
}

} // namespace orvela
