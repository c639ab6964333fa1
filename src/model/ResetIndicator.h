#pragma once
// A state view that learns what an edge's updates do to the clocks without
// touching a real state.

#include "model/PublicState.h"

#include <vector>

namespace orvela {

/// Records clock resets and shifts into one float per clock; integer updates
/// change only a private copy of the integer vector; constraints are ignored.
class ResetIndicator : public PublicState {
public:
  /// A view over a copy of `source`'s integers (as many as the integer table
  /// holds), heuristic value and minimum cost, writing to `out` (one float per
  /// clock, kept for clocks that are not touched).
  ResetIndicator(const PublicState* source, float* out);

  int* getIntegerReference() override { return integers_.data(); }
  /// Ignored; answers true.
  bool tighten(unsigned int i, unsigned int j, int raw) override;
  /// out[clock] = value.
  void reset(unsigned int clock, int value) override;
  /// out[clock] += delta.
  void offset(unsigned int clock, int delta) override;
  int getHeur() const override { return heur_; }
  void setHeur(int value) override { heur_ = value; }
  int getMinimumCost() const override { return cost_; }
  void incrementCost(unsigned int amount) override { cost_ += static_cast<int>(amount); }
  /// The source state's location.
  int getLocation(unsigned int process) const override;
  /// Throws `Bug` "ResetIndicator cannot return GlobalState".
  GlobalState* getGlobalState() override;

private:
  std::vector<int> integers_;
  float* out_;
  int heur_;
  int cost_;
  const PublicState* source_;
};

} // namespace orvela
