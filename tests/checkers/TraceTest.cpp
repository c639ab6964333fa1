#include "checkers/Trace.h"

#include "checkers/TraceStore.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace orvela {
namespace {

const Transition* edge(std::uintptr_t k) {
  return reinterpret_cast<const Transition*>(std::uintptr_t(0x7f3a00000000) + 8 * k);
}

// The first edge of every step from the current position to the end.
std::vector<const Transition*> firstEdges(Trace& trace) {
  std::vector<const Transition*> edges;
  for (; !trace.atEnd(); trace.next())
    edges.push_back(trace.getCurrent()[0]);
  EXPECT_EQ(trace.getCurrent()[0], nullptr);
  return edges;
}

// Two chains from one root: the first of edges 1, 2, the second of 3, 4, 5.
class TraceTest : public ::testing::Test {
protected:
  TraceTest() {
    const int root = store->put(nullptr, -1);
    int id = root;
    for (std::uintptr_t k : {1, 2}) {
      const Transition* move[] = {edge(k), nullptr};
      id = store->put(move, id);
    }
    firstEnd = id;
    id = root;
    for (std::uintptr_t k : {3, 4, 5}) {
      const Transition* move[] = {edge(k), nullptr};
      id = store->put(move, id);
    }
    secondEnd = id;
  }
  Pointer<Trace> first() { return store->createTrace(firstEnd); }
  Pointer<Trace> second() { return store->createTrace(secondEnd); }
  Pointer<Trace> empty() { return new NullTrace(); }

  Pointer<MemoryTraceStore> store = new MemoryTraceStore();
  int firstEnd, secondEnd;
};

TEST_F(TraceTest, NullTraceHasNoSteps) {
  NullTrace trace;
  trace.next();
  trace.reset();
  EXPECT_EQ(trace.getLength(), 0);
  EXPECT_TRUE(trace.atEnd());
  EXPECT_EQ(trace.getCurrent()[0], nullptr);
}

TEST_F(TraceTest, ConcatOfAnEmptyTraceIsTheOtherTraceItself) {
  Pointer<Trace> e1 = empty(), e2 = empty(), t = first();
  EXPECT_EQ(concat(e1, e2), e2);
  EXPECT_EQ(concat(e1, t), t);
  EXPECT_EQ(concat(t, e2), t);
}

TEST_F(TraceTest, ConcatenationStepsThroughFirstThenSecondThenEnds) {
  Pointer<Trace> joined = concat(first(), second());
  EXPECT_EQ(joined->getLength(), 5);
  const std::vector<const Transition*> all{edge(1), edge(2), edge(3), edge(4), edge(5)};
  EXPECT_EQ(firstEdges(*joined), all);
  joined->next(); // no effect at the end
  EXPECT_TRUE(joined->atEnd());
  joined->reset();
  EXPECT_EQ(firstEdges(*joined), all);

  // concatenations nest
  Pointer<Trace> twice = concat(concat(first(), second()), first());
  EXPECT_EQ(twice->getLength(), 7);
  EXPECT_EQ(firstEdges(*twice).back(), edge(2));
}

TEST_F(TraceTest, ConcatTraceBuiltDirectlyPassesOverEmptyParts) {
  ConcatTrace leading(empty(), second());
  EXPECT_EQ(firstEdges(leading), (std::vector<const Transition*>{edge(3), edge(4), edge(5)}));
  ConcatTrace none(empty(), empty());
  EXPECT_TRUE(none.atEnd());
  EXPECT_EQ(none.getLength(), 0);
}

} // namespace
} // namespace orvela
