#pragma once
// A state view over plain vectors for the model tests: integers and locations
// are read and written directly; clock operations are recorded in order.

#include "model/Constant.h"
#include "model/PublicState.h"
#include "server/base/Exceptions.h"

#include <vector>

namespace orvela::test {

class TestState : public PublicState {
public:
  /// One recorded clock operation: a tightening, a reset or a shift.
  struct ClockOperation {
    char kind; ///< 't' tighten, 'r' reset, 'o' offset
    unsigned int clock;
    unsigned int other; ///< second clock of a tightening
    int value;
    bool operator==(const ClockOperation&) const = default;
  };

  explicit TestState(std::vector<int> values = {}, std::vector<int> where = {})
      : integers(std::move(values)), locations(std::move(where)) {}

  int* getIntegerReference() override { return integers.data(); }
  bool tighten(unsigned int i, unsigned int j, int raw) override {
    clockOperations.push_back({'t', i, j, raw});
    return true;
  }
  void reset(unsigned int clock, int value) override {
    clockOperations.push_back({'r', clock, 0, value});
  }
  void offset(unsigned int clock, int delta) override {
    clockOperations.push_back({'o', clock, 0, delta});
  }
  int getHeur() const override { return heur; }
  void setHeur(int value) override { heur = value; }
  int getMinimumCost() const override { return cost; }
  void incrementCost(unsigned int amount) override { cost += static_cast<int>(amount); }
  int getLocation(unsigned int process) const override { return locations.at(process); }
  GlobalState* getGlobalState() override { throw Bug("TestState cannot return GlobalState"); }

  std::vector<int> integers;
  std::vector<int> locations;
  std::vector<ClockOperation> clockOperations;
  int heur = 0;
  int cost = 0;
};

/// Shorthand for a constant leaf.
inline Pointer<Expression> constant(int value) { return new Constant(value); }

} // namespace orvela::test
