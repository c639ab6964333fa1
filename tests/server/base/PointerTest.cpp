#include "base/Object.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

/// Counts live instances and calls to remove(), to prove "removed exactly once".
struct Tracked : Object {
  static inline int live = 0;
  static inline int removals = 0;
  Tracked() { ++live; }
  ~Tracked() override { --live; }
  void remove() override {
    ++removals;
    Object::remove();
  }
};

struct Derived : Tracked {};

class PointerTest : public ::testing::Test {
protected:
  void SetUp() override {
    Tracked::live = 0;
    Tracked::removals = 0;
  }
};

TEST_F(PointerTest, CountStartsAtZeroAndFollowsHolders) {
  auto* object = new Tracked;
  EXPECT_EQ(object->referenceCount(), 0);
  Pointer<Tracked> first(object);
  EXPECT_EQ(object->referenceCount(), 1);
  {
    Pointer<Tracked> second = first;
    EXPECT_EQ(object->referenceCount(), 2);
  }
  EXPECT_EQ(object->referenceCount(), 1);
  EXPECT_EQ(Tracked::removals, 0);
}

TEST_F(PointerTest, LastHolderRemovesExactlyOnce) {
  {
    Pointer<Tracked> a(new Tracked);
    Pointer<Tracked> b = a;
    Pointer<Tracked> c;
    c = b;
    a = nullptr;
    b = nullptr;
    EXPECT_EQ(Tracked::live, 1);
  }
  EXPECT_EQ(Tracked::live, 0);
  EXPECT_EQ(Tracked::removals, 1);
}

TEST_F(PointerTest, SelfAssignmentKeepsTheObjectAlive) {
  Pointer<Tracked> p(new Tracked);
  Tracked* raw = p.get();
  p = p;
  EXPECT_EQ(Tracked::live, 1);
  p = raw; // assigning the held object through a raw pointer
  EXPECT_EQ(Tracked::live, 1);
  EXPECT_EQ(raw->referenceCount(), 1);
  p = std::move(p);
  EXPECT_EQ(Tracked::live, 1);
  EXPECT_EQ(p.get(), raw);
}

TEST_F(PointerTest, AssigningAnotherObjectReleasesTheOld) {
  Pointer<Tracked> p(new Tracked);
  p = new Tracked;
  EXPECT_EQ(Tracked::live, 1);
  EXPECT_EQ(Tracked::removals, 1);
}

TEST_F(PointerTest, MoveTransfersWithoutTouchingTheCount) {
  Pointer<Tracked> a(new Tracked);
  Pointer<Tracked> b(std::move(a));
  EXPECT_FALSE(a);
  EXPECT_EQ(b->referenceCount(), 1);
  Pointer<Tracked> c(new Tracked);
  c = std::move(b);
  EXPECT_EQ(Tracked::live, 1);
  EXPECT_EQ(c->referenceCount(), 1);
}

TEST_F(PointerTest, DerivedConvertsToBaseSharingTheCount) {
  Pointer<Derived> derived(new Derived);
  Pointer<Tracked> base = derived;
  Pointer<Object> root = base;
  EXPECT_EQ(derived->referenceCount(), 3);
  derived = nullptr;
  base = nullptr;
  EXPECT_EQ(Tracked::live, 1);
  root = nullptr;
  EXPECT_EQ(Tracked::live, 0);
}

TEST_F(PointerTest, ConstPointeeIsCountedAndRemoved) {
  {
    Pointer<const Tracked> p(new Tracked);
    Pointer<const Tracked> q = p;
    EXPECT_EQ(p->referenceCount(), 2);
  }
  EXPECT_EQ(Tracked::removals, 1);
}

TEST(ObjectTest, UnknownPropertiesAreIgnored) {
  Object object;
  int value = 3;
  object.setProperty("anything", &value);
  EXPECT_EQ(object.getProperty("anything"), nullptr);
}

TEST(ObjectTest, CopyStartsUnowned) {
  Pointer<Object> held(new Object);
  Object copy(*held);
  EXPECT_EQ(copy.referenceCount(), 0);
}

} // namespace
} // namespace orvela
