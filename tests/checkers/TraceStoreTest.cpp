#include "checkers/TraceStore.h"

#include "server/base/Exceptions.h"

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

using Move = std::vector<const Transition*>; // null-terminated

std::vector<const Transition*> edgesOf(const Transition* const* moves) {
  std::vector<const Transition*> edges;
  while (*moves)
    edges.push_back(*moves++);
  return edges;
}

// The steps of a trace from its current position to its end.
std::vector<std::vector<const Transition*>> stepsOf(Trace& trace) {
  std::vector<std::vector<const Transition*>> steps;
  for (; !trace.atEnd(); trace.next())
    steps.push_back(edgesOf(trace.getCurrent()));
  EXPECT_TRUE(edgesOf(trace.getCurrent()).empty()) << "the end shows the empty list";
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

TEST_F(TraceStoreTest, TracesOfRootsAreEmpty) {
  for (int id : {root, -1}) {
    Pointer<Trace> trace = store->createTrace(id);
    EXPECT_EQ(trace->getLength(), 0);
    EXPECT_TRUE(trace->atEnd());
    EXPECT_EQ(trace->getCurrent()[0], nullptr);
  }
}

TEST_F(TraceStoreTest, TraceFromTheRootListsMovesFirstToLastAndRewinds) {
  Pointer<Trace> trace = store->createTrace(b);
  EXPECT_EQ(trace->getLength(), 2);
  using Steps = std::vector<Move>;
  const Steps expected{{edge(1)}, {edge(2), edge(3), edge(4)}};
  EXPECT_EQ(stepsOf(*trace), expected);
  trace->next(); // no effect at the end
  EXPECT_TRUE(trace->atEnd());
  trace->reset();
  EXPECT_EQ(stepsOf(*trace), expected);
  EXPECT_EQ(stepsOf(*store->createTrace(c)), Steps{{edge(5)}});
}

TEST_F(TraceStoreTest, TraceBetweenTwoEntriesExcludesTheFirst) {
  EXPECT_EQ(store->createTrace(a, a)->getLength(), 0);
  EXPECT_EQ(store->createTrace(b, -1)->getLength(), 0);
  Pointer<Trace> tail = store->createTrace(a, b);
  EXPECT_EQ(stepsOf(*tail), (std::vector<Move>{{edge(2), edge(3), edge(4)}}));
  EXPECT_EQ(store->createTrace(root, b)->getLength(), 2);
}

TEST_F(TraceStoreTest, TraceBetweenUnrelatedEntriesThrows) {
  const std::string message = "Invalid arguments in call to MemoryTraceStore::createTrace";
  EXPECT_EQ(createTraceError(*store, b, a), message); // the wrong way round
  EXPECT_EQ(createTraceError(*store, c, b), message); // a sibling branch
  EXPECT_EQ(createTraceError(*store, -1, b), message);
  EXPECT_EQ(createTraceError(*store, root, 12), message); // beyond the store
  EXPECT_THROW(store->createTrace(12), Bug);
  EXPECT_THROW(store->createTrace(-2), Bug);
}

TEST_F(TraceStoreTest, PutRefusesAPredecessorOutsideTheStore) {
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
  EXPECT_EQ(stepsOf(*trace), (std::vector<Move>{{edge(1)}, {edge(2), edge(3), edge(4)}}));
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
