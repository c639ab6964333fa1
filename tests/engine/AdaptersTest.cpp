#include "engine/Adapters.h"

#include <gtest/gtest.h>

#include <utility>

namespace orvela {
namespace {

using Pair = std::pair<int, int>;

int secondOf(Pair* pair) { return pair->second; }

TEST(FunctionToSinkAdapter, PlainFunctionOverTypedItemsAnswersItsResultAsBool) {
  Pointer<PureSink> sink = createFunctionToSinkAdapter(&secondOf);
  Pair zero{5, 0}, two{5, 2};
  EXPECT_FALSE(sink->tryPut(&zero));
  EXPECT_TRUE(sink->tryPut(&two));
}

TEST(FunctionToSinkAdapter, LambdasBindStateAndMayTakeTheItemUntyped) {
  std::vector<int> seen;
  Pointer<PureSink> typed = createFunctionToSinkAdapter([&seen](Pair* pair) {
    seen.push_back(pair->first);
    return pair->first > 3;
  });
  Pair low{1, 0}, high{9, 0};
  EXPECT_FALSE(typed->tryPut(&low));
  EXPECT_TRUE(typed->tryPut(&high));
  EXPECT_EQ(seen, (std::vector<int>{1, 9}));

  void* last = nullptr;
  Pointer<PureSink> untyped = createFunctionToSinkAdapter([&last](void* item) {
    last = item;
    return item != nullptr;
  });
  EXPECT_TRUE(untyped->tryPut(&low));
  EXPECT_EQ(last, &low);
  EXPECT_FALSE(untyped->tryPut(nullptr));
}

TEST(NullSource, NeverHasAnItemAndLeavesTheOutputAlone) {
  Pointer<PureSource> source = createNullSource();
  int* out = reinterpret_cast<int*>(0x40);
  EXPECT_FALSE(source->tryGet(&out));
  EXPECT_EQ(out, reinterpret_cast<int*>(0x40));
}

} // namespace
} // namespace orvela
