#pragma once
// A state view that learns what an edge's updates do to the clocks without
// touching a real state.

#include "model/DetachedStateView.h"

namespace orvela {

/// Records clock resets and shifts into one float per clock; integer updates
/// change only a private copy of the integer vector; constraints are ignored.
class ResetIndicator : public DetachedStateView {
public:
  /// A view over a copy of `source` and its `integers` values, writing to
  /// `out` (one float per clock, kept for clocks that are not touched).
  ResetIndicator(const PublicState* source, int integers, float* out)
      : DetachedStateView(source, integers), out_(out) {}

  /// Ignored; answers true.
  bool tighten(unsigned int i, unsigned int j, int raw) override;
  /// out[clock] = value.
  void reset(unsigned int clock, int value) override;
  /// out[clock] += delta.
  void offset(unsigned int clock, int delta) override;
  /// Throws `Bug` "ResetIndicator cannot return GlobalState".
  GlobalState* getGlobalState() override;

private:
  float* out_;
};

} // namespace orvela
