#pragma once
// A state view that records the constraints and clock updates an edge would
// apply, so that they can be undone on a zone in reverse order.

#include "expr/Expression.h"
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
  /// A recorded clock update of `clock`: a reset to `value`, a shift by
  /// `value`, or a copy of clock `value`.
  struct reset_t {
    enum Kind { reset, offset, copy };
    unsigned int clock;
    int value;
    Kind kind;
  };

  /// A view over a copy of `source` and its `integers` values.
  RegionRecorder(const PublicState* source, int integers) : DetachedStateView(source, integers) {}

  /// Recorded; always answers true.
  bool tighten(unsigned int i, unsigned int j, int raw) override;
  void reset(unsigned int clock, int value) override;
  void offset(unsigned int clock, int delta) override;
  /// Throws `Bug` "RegionRecorder cannot return GlobalState".
  GlobalState* getGlobalState() override;

  /// Records the updates `update` (an edge's assignment) in order; clock
  /// copies, which a view without a zone cannot evaluate, are recorded too.
  void recordUpdates(const Expression& update);

  /// Undoes the recorded operations on `zone`, last first: a reset of c to k
  /// restricts the zone to c = k and frees c; a copy of d into c restricts it
  /// to c = d and frees c; a shift of c by k shifts it by -k; then every
  /// constraint is applied. The zone is not closed afterwards.
  void replayReverse(UnpackedRegion* zone) const;

  const std::vector<tighten_t>& getTightenings() const { return tightenings_; }
  const std::vector<reset_t>& getResets() const { return resets_; }

private:
  std::vector<tighten_t> tightenings_;
  std::vector<reset_t> resets_;
};

} // namespace orvela
