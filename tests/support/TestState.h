#pragma once
// A state view over plain vectors for the model tests: integers and locations
// are read and written directly; clock resets and shifts are recorded.

#include "base/Exceptions.h"
#include "expr/Constant.h"
#include "symbolic/PublicState.h"

#include <tuple>
#include <vector>

namespace orvela::test {

class TestState : public PublicState {
public:
  /// A recorded clock update: 'r' reset or 'o' offset, the clock, the value.
  using ClockUpdate = std::tuple<char, unsigned int, int>;

  explicit TestState(std::vector<int> values = {}, std::vector<int> where = {})
      : integers(std::move(values)), locations(std::move(where)) {}

  int* getIntegerReference() override { return integers.data(); }
  bool tighten(unsigned int, unsigned int, int) override { return true; }
  void reset(unsigned int clock, int value) override { updates.emplace_back('r', clock, value); }
  void offset(unsigned int clock, int delta) override { updates.emplace_back('o', clock, delta); }
  int getLocation(unsigned int process) const override { return locations.at(process); }
  GlobalState* getGlobalState() override { throw Bug("TestState cannot return GlobalState"); }

  std::vector<int> integers;
  std::vector<int> locations;
  std::vector<ClockUpdate> updates;
};

/// Shorthand for a constant leaf.
inline Pointer<Expression> constant(int value) { return new Constant(value); }

} // namespace orvela::test
