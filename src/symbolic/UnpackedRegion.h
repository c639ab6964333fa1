#pragma once
// The full difference-bound matrix of a zone, with the set of clocks touched
// since the last closure.

#include "dbm/Closure.h"
#include "dbm/RawBound.h"
#include "symbolic/Region.h"
#include "symbolic/Zone.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvela {

struct PackData;

/// Block layout: the header (vtable pointer, 8-bit dimension n, heap flag),
/// then n·n raw bounds row-major (entry (i, j) bounds x_i - x_j, 0x7fffffff
/// for none), then the touched-clock set, ⌈n/32⌉ words with bit k mod 32 of
/// word k/32 for clock k. No data member may be added.
///
/// A region is closed when its touched set is empty; tightenings mark the
/// clocks they change and `close` runs one Floyd–Warshall pivot per marked
/// clock (the closure engine of symbolic/dbm/Closure.h, which DBMs share). Readers of closed bounds
/// (relation, packing, text forms, isEmpty) must be called on a closed region.
class UnpackedRegion final : public Region {
public:
  /// Block size, in 32-bit words, of a region of dimension n, the header
  /// included; always even, so that blocks placed one after another stay
  /// 8-byte aligned.
  static constexpr std::size_t sizeOf(unsigned n) {
    const std::size_t bytes = sizeof(Region) + 4 * (std::size_t(n) * n + (n + 31) / 32);
    return (bytes + 7) / 8 * 2;
  }
  /// A heap region of dimension n (below 256). With `init` every clock is
  /// non-negative and unbounded; without, the bounds are undefined. The
  /// touched set is empty. Release with `Region::remove`.
  static UnpackedRegion* create(int n, bool init);
  /// The same in caller memory of sizeOf(n) words, 8-byte aligned, which
  /// stays the caller's.
  static UnpackedRegion* create(int n, bool init, int* memory);

  UnpackedRegion& operator=(const UnpackedRegion& other) {
    return static_cast<UnpackedRegion&>(operator=(static_cast<const Region&>(other)));
  }

  // Direct access to the matrix, for the wire format, state resets and clock
  // copies.
  int32_t* bounds() { return reinterpret_cast<int32_t*>(this + 1); }
  const int32_t* bounds() const { return reinterpret_cast<const int32_t*>(this + 1); }
  int32_t get(unsigned i, unsigned j) const { return bounds()[i * dim_ + j]; }
  /// Writes entry (i, j) without marking anything; a raw bound of
  /// `Zone::infinity` or above is stored as "no bound", so that closure never
  /// adds to it.
  void set(unsigned i, unsigned j, int32_t raw) {
    bounds()[i * dim_ + j] = rawIsInfinite(raw) ? rawInfinity : raw;
  }
  /// Marks clock k as changed since the last closure.
  void touch(unsigned k) { markTouched(touched(), k); }
  bool isTouched(unsigned k) const { return (touched()[k / 32] >> (k % 32)) & 1; }
  /// True if no clock is marked touched.
  bool isClosed() const;
  /// Declares the bounds closed: empties the touched set. For writers that
  /// fill `bounds()` with a closed matrix directly.
  void markClosed() { clearTouched(); }

  // Region interface.
  Inclusion relation(const Region* other) const override;
  Region* copy() const override;
  UnpackedRegion* unpack() const override;
  void unpackTo(UnpackedRegion* target) const override;
  void display(std::ostream& out, const std::vector<ClockInfo>& clocks) const override;
  void displayAsQuery(std::ostream& out, const std::vector<ClockInfo>& clocks) const override;
  bool isUnbounded() const override;
  unsigned getDim() const override { return dim_; }
  /// True if some diagonal entry is below <= 0.
  bool isEmpty() const override;
  /// Closes both regions; an empty operand leaves the other's zone. The
  /// result is closed.
  void convexHull(UnpackedRegion* other) override;
  bool tighten(int i, int j, int value, bool strict) override;
  /// A bound of `Zone::infinity` or above constrains nothing and is ignored.
  bool tightenRaw(int i, int j, int raw) override;
  void close() override;
  void delay() override;
  void past() override;
  _dbm_* asDBM(_dbm_* target) const override;
  cdd asCDD(CddLibrary& library) const override;
  Region& operator=(const Region& other) override;

  /// Every clock equal to 0. The touched set is emptied.
  void zeroRegion();
  /// `tighten` by a constraint.
  bool tighten(Zone::Constraint c) { return tightenRaw(int(c.i), int(c.j), c.value); }
  /// True if some valuation of the (closed) region satisfies c.
  bool hasPoints(Zone::Constraint c) const;
  /// Restricts clock x to the value v and closes; false if that emptied the
  /// region through a cycle on x.
  bool possible(int x, int v);
  /// A new heap region equal to this one with every upper bound on a clock
  /// made non-strict, closed.
  UnpackedRegion* microDelay() const;
  /// Clock x := value (value >= 0) on a closed region; the result is closed.
  void reset(unsigned x, int value);
  /// Clock x := x + d, kept non-negative; the result is closed.
  void offset(unsigned x, int d);
  /// Removes every constraint on clock x but x >= 0 (closed stays closed).
  void free(unsigned x);
  /// Removes every constraint on clock x, x >= 0 included.
  void inactivate(unsigned x);
  /// Maximal-constant extrapolation with max[i] the largest constant clock i
  /// is compared with; row 0 is left alone. The result is closed.
  void normk(const std::vector<int>& max);
  /// This := this ∩ other (same dimension), closed. False if the region
  /// became empty.
  bool intersect(const Region* other);
  /// Closure over every clock, whatever the touched set says.
  void expensiveClose();
  /// Computes the minimal constraint set of this closed, non-empty region
  /// into `data`, without the bounds x >= 0 that every region has.
  void pack(PackData* data) const;

private:
  UnpackedRegion(unsigned n, bool init, bool heapBlock);

  uint32_t* touched() { return reinterpret_cast<uint32_t*>(bounds() + std::size_t(dim_) * dim_); }
  const uint32_t* touched() const {
    return reinterpret_cast<const uint32_t*>(bounds() + std::size_t(dim_) * dim_);
  }
  void clearTouched();
  /// tightenRaw without the virtual call.
  bool tightenEntry(unsigned i, unsigned j, int32_t raw);
};

static_assert(sizeof(UnpackedRegion) == sizeof(Region), "no data beyond the header");
static_assert(alignof(UnpackedRegion) >= alignof(int32_t), "bounds follow the header aligned");
static_assert(sizeof(Region) % alignof(int32_t) == 0, "bounds start on a word");

} // namespace orvela
