#include "checkers/ConcreteDelay.h"

#include "dbm/RawBound.h"
#include "symbolic/UnpackedRegion.h"

namespace orvela {

float calculateDelay(const UnpackedRegion* zone, float* valuation) {
  // Stands for an absent upper bound: 2^30, beyond every finite constant.
  constexpr float unbounded = 1073741824.0f;
  float lo = 0, hi = unbounded;
  bool loStrict = false, hiStrict = false;
  const unsigned n = zone->getDim();
  for (unsigned i = 1; i < n; ++i) {
    // Entry (0, i) bounds -x_i from above, so it is minus the lower bound.
    const int32_t lower = zone->get(0, i);
    const float a = float(-rawConstant(lower)) - valuation[i];
    if (a > lo) {
      lo = a;
      loStrict = rawIsStrict(lower);
    } else if (a == lo) {
      loStrict = loStrict || rawIsStrict(lower);
    }
    const int32_t upper = zone->get(i, 0);
    const bool upperFinite = !rawIsInfinite(upper);
    const float b = upperFinite ? float(rawConstant(upper)) - valuation[i] : unbounded;
    const bool bStrict = upperFinite && rawIsStrict(upper);
    if (b < hi) {
      hi = b;
      hiStrict = bStrict;
    } else if (b == hi) {
      hiStrict = hiStrict || bStrict;
    }
  }
  float delay = lo;
  if (loStrict) {
    if (hi - lo > 1.0f)
      delay = lo + 1.0f;
    else
      delay = hiStrict ? lo + (hi - lo) * 0.5f : hi;
  }
  if (delay > 0)
    for (unsigned i = 1; i < n; ++i)
      valuation[i] += delay;
  return delay;
}

} // namespace orvela
