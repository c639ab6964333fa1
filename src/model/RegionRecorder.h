#pragma once
// A state view that records the constraints and clock updates an edge would
// apply, so that they can be undone on a zone in reverse order.

#include "model/DetachedStateView.h"

#include <vector>

namespace orvela {

class UnpackedRegion;

/// Records instead of applying: clock constraints and clock resets and
/// shifts go to two lists; integer updates change a private copy of the
/// integer vector.
class RegionRecorder : public DetachedStateView {
public:
  /// A recorded constraint: clock i - clock j bounded by the raw bound.
  struct tighten_t {
    unsigned int i;
    unsigned int j;
    int raw;
  };
  /// A recorded clock update: a reset to `value`, or a shift by `value`.
  struct reset_t {
    unsigned int clock;
    int value;
    bool offset;
  };

  /// A view over a copy of `source`.
  explicit RegionRecorder(const PublicState* source) : DetachedStateView(source) {}

  /// Recorded; always answers true.
  bool tighten(unsigned int i, unsigned int j, int raw) override;
  void reset(unsigned int clock, int value) override;
  void offset(unsigned int clock, int delta) override;
  /// Throws `Bug` "RegionRecorder cannot return GlobalState".
  GlobalState* getGlobalState() override;

  /// Undoes the recorded operations on `zone`, last first: a reset of c to k
  /// restricts the zone to c = k and frees c; a shift of c by k shifts it by
  /// -k; then every constraint is applied. The zone is not closed afterwards.
  void replayReverse(UnpackedRegion* zone) const;

  const std::vector<tighten_t>& getTightenings() const { return tightenings_; }
  const std::vector<reset_t>& getResets() const { return resets_; }

private:
  std::vector<tighten_t> tightenings_;
  std::vector<reset_t> resets_;
};

} // namespace orvela
