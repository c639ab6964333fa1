#include "engine/Properties.h"

#include "engine/Pipeline.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

// Sink is not the first base here, so its address differs from the object's:
// an object property must arrive adjusted to the type asked for.
class Configurable : public Buffer {
public:
  bool tryPut(void*) override { return true; }
  bool tryGet(void*) override { return false; }
  std::size_t getSize() const override { return 0; }
  void setProperty(const char* name, const void* value) override {
    if (isProperty(name, "limit"))
      limit = propertyValue<int>(value);
    else if (isProperty(name, "sink"))
      sink = propertyObject<Sink>(value);
  }
  void* getProperty(const char* name) const override {
    return isProperty(name, "sink") ? static_cast<void*>(sink) : nullptr;
  }
  int limit = 0;
  Sink* sink = nullptr;
};

TEST(Properties, EachKindOfValueArrivesTyped) {
  Configurable target, other;
  int limit = 41;
  setValueProperty<int>(target, "limit", limit);
  limit = 0; // copied during the call
  EXPECT_EQ(target.limit, 41);
  Sink* asSink = &other;
  ASSERT_NE(static_cast<void*>(asSink), static_cast<void*>(&other));
  setObjectProperty<Sink>(target, "sink", &other);
  EXPECT_EQ(target.sink, asSink);
  EXPECT_EQ(getObjectProperty<Sink>(target, "sink"), asSink);
  setValueProperty<int>(target, "unknown", limit);
  EXPECT_EQ(target.getProperty("unknown"), nullptr);
}

} // namespace
} // namespace orvela
