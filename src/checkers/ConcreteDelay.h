#pragma once
// Concrete simulation along a symbolic trace: choosing how long to wait.

namespace orvela {

class UnpackedRegion;

/// For a concrete clock valuation (one float per clock, the reference clock
/// first), chooses a delay d such that the valuation delayed by d lies in
/// `zone` (closed): the earliest point of the interval of admissible delays,
/// or a point inside it when its lower end is strict (one time unit in when
/// the interval is longer than that, otherwise its middle, or its upper end
/// when that is non-strict). Every clock but the reference clock is advanced
/// by d when d > 0. Answers d.
float calculateDelay(const UnpackedRegion* zone, float* valuation);

} // namespace orvela
