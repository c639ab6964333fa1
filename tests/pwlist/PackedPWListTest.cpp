#include "pwlist/PackedPWList.h"

#include "ListTestFixture.h"

namespace orvela {
namespace {

using test::OwnedState;

class PackedPWListTest : public test::ListTest {
protected:
  Pointer<PWList> makeList(WaitingStore* order, unsigned buckets = 7) {
    return createPackedPWList(buckets, order, shape());
  }
  static PackedPWList& packedList(PWList& list) { return static_cast<PackedPWList&>(list); }
};

} // namespace
} // namespace orvela
