#include "checkers/TraceStore.h"

#include "base/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace orvela {
namespace {

// Edge addresses are only stored and compared, never followed. The high half
// of each is non-zero, so a store that cut pointers to 32 bits would fail.
const Transition* edge(std::uintptr_t k) {
  return reinterpret_cast<const Transition*>(std::uintptr_t(0x7f3a00000000) + 8 * k);
}

using Move = std::vector<const Transition*>;
using Steps = std::vector<Move>;

Move edgesOf(const Transition* const* moves) {
  Move edges;
  while (*moves)
    edges.push_back(*moves++);
  return edges;
}

// The steps of a trace from its current position to its end; a trace at its
// end shows the empty list, and next() there changes nothing.
Steps stepsOf(Trace& trace) {
  Steps steps;
  for (; !trace.atEnd(); trace.next())
    steps.push_back(edgesOf(trace.getCurrent()));
  EXPECT_TRUE(edgesOf(trace.getCurrent()).empty());
  trace.next();
  EXPECT_TRUE(trace.atEnd());
  return steps;
}

std::string createTraceError(const TraceStore& store, int from, int to) {
  try {
    store.createTrace(from, to);
  } catch (const Bug& bug) {
    return bug.what();
  }
  return "no error";
}

// root -> a (one edge) -> b (a broadcast of three edges); root -> c (a sibling).
class TraceStoreTest : public ::testing::Test {
protected:
  TraceStoreTest() {
    root = store->put(nullptr, -1);
    Move m1{edge(1), nullptr}, m2{edge(2), edge(3), edge(4), nullptr}, m3{edge(5), nullptr};
    a = store->put(m1.data(), root);
    b = store->put(m2.data(), a);
    c = store->put(m3.data(), root);
  }
  Pointer<MemoryTraceStore> store = new MemoryTraceStore();
  int root, a, b, c;
  const Steps toB{{edge(1)}, {edge(2), edge(3), edge(4)}};
};

TEST_F(TraceStoreTest, IdentifiersIndexEntriesOfPredecessorEdgesAndTerminator) {
  EXPECT_EQ(root, 0); // a root is one word
  EXPECT_EQ(a, 1);    // predecessor, one edge, null
  EXPECT_EQ(b, 4);    // predecessor, three edges, null
  EXPECT_EQ(c, 9);
  EXPECT_EQ(store->size(), 12u);
  EXPECT_EQ(store->predecessorOf(b), a);
  EXPECT_EQ(store->predecessorOf(root), -1);
  EXPECT_EQ(edgesOf(store->movesOf(b)), (Move{edge(2), edge(3), edge(4)}));
}

TEST_F(TraceStoreTest, TracesListMovesFirstToLastFromTheRootOrAfterAnEntry) {
  for (int id : {root, -1}) {
    Pointer<Trace> empty = store->createTrace(id);
    EXPECT_EQ(empty->getLength(), 0);
    EXPECT_EQ(stepsOf(*empty), Steps{});
  }
  Pointer<Trace> trace = store->createTrace(b);
  EXPECT_EQ(trace->getLength(), 2);
  EXPECT_EQ(stepsOf(*trace), toB);
  trace->reset();
  EXPECT_EQ(stepsOf(*trace), toB);
  EXPECT_EQ(stepsOf(*store->createTrace(c)), Steps{{edge(5)}});
  // Between two entries the first is excluded.
  EXPECT_EQ(store->createTrace(a, a)->getLength(), 0);
  EXPECT_EQ(store->createTrace(b, -1)->getLength(), 0);
  EXPECT_EQ(stepsOf(*store->createTrace(a, b)), Steps{toB[1]});
  EXPECT_EQ(store->createTrace(root, b)->getLength(), 2);
}

TEST_F(TraceStoreTest, UnrelatedEntriesAndIdentifiersOutsideTheStoreAreRefused) {
  const std::string message = "Invalid arguments in call to MemoryTraceStore::createTrace";
  EXPECT_EQ(createTraceError(*store, b, a), message); // the wrong way round
  EXPECT_EQ(createTraceError(*store, c, b), message); // a sibling branch
  EXPECT_EQ(createTraceError(*store, -1, b), message);
  EXPECT_EQ(createTraceError(*store, root, 12), message); // beyond the store
  EXPECT_THROW(store->createTrace(12), Bug);
  EXPECT_THROW(store->createTrace(-2), Bug);
  Move m{edge(9), nullptr};
  EXPECT_THROW(store->put(m.data(), 12), Bug);
  EXPECT_THROW(store->put(m.data(), -5), Bug);
  EXPECT_EQ(store->size(), 12u); // nothing recorded
}

TEST_F(TraceStoreTest, ATraceSurvivesGrowthOfTheStoreAndTheStoresOwner) {
  Pointer<Trace> trace = store->createTrace(b);
  const MemoryTraceStore* raw = store.get();
  store = nullptr; // the trace keeps the store alive
  EXPECT_EQ(raw->referenceCount(), 1);
  // Growing the vector moves it; the trace must read from the new place.
  Pointer<MemoryTraceStore> again = const_cast<MemoryTraceStore*>(raw);
  Move m{edge(7), nullptr};
  for (int k = 0; k < 10000; ++k)
    again->put(m.data(), root);
  EXPECT_EQ(stepsOf(*trace), toB);
}

TEST_F(TraceStoreTest, ConcatenationStepsThroughBothPartsAndPassesOverEmptyOnes) {
  Pointer<Trace> first = store->createTrace(b), second = store->createTrace(c);
  Pointer<Trace> e1 = new NullTrace(), e2 = new NullTrace();
  // An empty part gives the other trace itself.
  EXPECT_EQ(concat(e1, e2), e2);
  EXPECT_EQ(concat(e1, first), first);
  EXPECT_EQ(concat(first, e2), first);
  Pointer<Trace> joined = concat(first, second);
  EXPECT_EQ(joined->getLength(), 3);
  const Steps all{toB[0], toB[1], {edge(5)}};
  EXPECT_EQ(stepsOf(*joined), all);
  joined->reset();
  EXPECT_EQ(stepsOf(*joined), all);
  // Concatenations nest.
  Pointer<Trace> twice =
      concat(concat(store->createTrace(b), store->createTrace(c)), store->createTrace(a));
  EXPECT_EQ(twice->getLength(), 4);
  EXPECT_EQ(stepsOf(*twice).back(), Move{edge(1)});
  // Built directly, a concatenation passes over empty parts.
  ConcatTrace leading(new NullTrace(), store->createTrace(c));
  EXPECT_EQ(stepsOf(leading), Steps{{edge(5)}});
  ConcatTrace none(new NullTrace(), new NullTrace());
  EXPECT_EQ(none.getLength(), 0);
  EXPECT_EQ(stepsOf(none), Steps{});
}

TEST(NullTraceStore, RecordsNothingAndGivesEmptyTraces) {
  Pointer<TraceStore> store = new NullTraceStore();
  Move m{edge(1), nullptr};
  EXPECT_EQ(store->put(nullptr, -1), -1);
  EXPECT_EQ(store->put(m.data(), -1), -1);
  EXPECT_EQ(store->createTrace(3)->getLength(), 0);
  EXPECT_TRUE(store->createTrace(0, 3)->atEnd());
}

} // namespace
} // namespace orvela
