#include "engine/Properties.h"

#include "engine/Pipeline.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

int twice(int x) { return 2 * x; }

// A member with one property of each kind, read back through getProperty.
class Configurable : public Object {
public:
  void setProperty(const char* name, const void* value) override {
    if (isProperty(name, "limit"))
      limit = propertyValue<int>(value);
    else if (isProperty(name, "sink"))
      sink = propertyObject<Sink>(value);
    else if (isProperty(name, "cost"))
      cost = propertyFunction<int (*)(int)>(value);
  }
  void* getProperty(const char* name) const override {
    return isProperty(name, "sink") ? static_cast<void*>(sink) : nullptr;
  }
  int limit = 0;
  Sink* sink = nullptr;
  int (*cost)(int) = nullptr;
};

// Sink is not the first base here, so its address differs from the object's.
class Store : public Buffer {
public:
  bool tryPut(void*) override { return true; }
  bool tryGet(void*) override { return false; }
  std::size_t getSize() const override { return 0; }
};

TEST(Properties, EachKindOfValueArrivesTyped) {
  Configurable target;
  int limit = 41;
  setValueProperty<int>(target, "limit", limit);
  limit = 0; // copied during the call
  EXPECT_EQ(target.limit, 41);

  Store store;
  Sink* asSink = &store;
  ASSERT_NE(static_cast<void*>(asSink), static_cast<void*>(&store));
  setObjectProperty<Sink>(target, "sink", &store);
  EXPECT_EQ(target.sink, asSink);
  EXPECT_EQ(getObjectProperty<Sink>(target, "sink"), asSink);

  setFunctionProperty(target, "cost", &twice);
  ASSERT_NE(target.cost, nullptr);
  EXPECT_EQ(target.cost(21), 42);

  setValueProperty<int>(target, "unknown", limit);
  EXPECT_EQ(target.getProperty("unknown"), nullptr);
}

} // namespace
} // namespace orvela
