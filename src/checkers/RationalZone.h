#pragma once
// A zone over clocks with exact rational bounds, for picking concrete clock
// values inside the integer zones of a search: fixing a clock to a rational
// value leaves bounds that integer matrices cannot hold.

#include <gmpxx.h>

#include <vector>

namespace orvela {

class UnpackedRegion;

/// A bound on a clock difference: `value`, strict or not, or no bound.
struct RationalBound {
  mpq_class value;
  bool strict = false;
  bool infinite = true;

  static RationalBound at(const mpq_class& value, bool strict) { return {value, strict, false}; }
  /// The bound of a raw integer bound (see dbm/RawBound.h).
  static RationalBound fromRaw(int raw);
};

/// A difference-bound matrix over `dim` clocks, clock 0 the reference clock,
/// every clock non-negative, kept closed after every operation.
class RationalZone {
public:
  /// Every non-negative valuation of `dim` clocks.
  explicit RationalZone(unsigned dim);
  /// `zone` in the first clocks of a zone of `dim` clocks (at least the
  /// zone's dimension); the others only non-negative.
  RationalZone(const UnpackedRegion& zone, unsigned dim);

  unsigned dim() const { return dim_; }
  bool isEmpty() const { return empty_; }
  /// The bound on x_i - x_j.
  const RationalBound& bound(unsigned i, unsigned j) const { return m_[i * dim_ + j]; }

  /// x_i - x_j bounded by `bound` as well.
  void constrain(unsigned i, unsigned j, const RationalBound& bound);
  /// x_i - x_j <= value and x_j - x_i <= -value.
  void constrainDifference(unsigned i, unsigned j, const mpq_class& value);
  /// This := this ∩ other (same dimension).
  void intersect(const RationalZone& other);
  /// Lets time pass: no clock keeps an upper bound.
  void delay();
  /// Clock x := value.
  void reset(unsigned x, const mpq_class& value);
  /// Clock x := clock y.
  void copy(unsigned x, unsigned y);
  /// Clock x := x + delta, then only the valuations with x >= 0 stay.
  void offset(unsigned x, const mpq_class& delta);
  /// Forgets everything about clock x but x >= 0.
  void free(unsigned x);

  /// A value clock x may take: the lowest when `lowest` and the zone has it
  /// (otherwise half a unit above the bound when the zone allows), else
  /// the smallest value that differs from `grid` by an integer, else one
  /// between the bounds. Not for an empty zone.
  mpq_class pick(unsigned x, const mpq_class& grid, bool lowest) const;
  /// A valuation of the zone (clock 0 included): clock `first` chosen
  /// first by `pick` with `grid` and `lowest`, then every other clock on the
  /// grid of the first's value, so that differences stay whole where they
  /// can. Not for an empty zone.
  std::vector<mpq_class> point(unsigned first, const mpq_class& grid, bool lowest) const;

private:
  RationalBound& at(unsigned i, unsigned j) { return m_[i * dim_ + j]; }
  /// Floyd–Warshall over every clock; marks the zone empty on a negative cycle.
  void close();

  unsigned dim_;
  std::vector<RationalBound> m_;
  bool empty_ = false;
};

} // namespace orvela
