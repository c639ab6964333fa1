#pragma once
// The clock part of a symbolic state: a zone over every clock of the system,
// clock 0 being the reference clock, as the full matrix (`UnpackedRegion`) on
// which every operation of successor computation works. Its compact storage
// form (`PackedRegion`) is not a region: it only packs and unpacks.
//
// Regions are flat blocks built in place (heap, allocator chunks, stack, list
// nodes): a fixed header followed by words addressed from `this`.

#include "dbm/RawBound.h"

#include <cstdint>
#include <iosfwd>
#include <vector>

struct _dbm_;
class cdd;
class CddLibrary;

namespace orvela {

class UnpackedRegion;
struct ClockInfo;

/// The abstract region. Subclasses must not add data members beyond those of
/// their block layout: the block sizes are computed from the layout.
class Region {
public:
  /// Inclusion of this region in `other` (same dimension, closed).
  virtual Inclusion relation(const Region* other) const = 0;
  /// A new heap region of the same kind and contents.
  virtual Region* copy() const = 0;
  /// A new heap unpacked region with this zone.
  virtual UnpackedRegion* unpack() const = 0;
  /// Writes this zone into `target` (same dimension), closed.
  virtual void unpackTo(UnpackedRegion* target) const = 0;
  /// The constraints as a comma-separated list, with the names of `clocks`,
  /// the model's clock table (at least as wide as the zone).
  virtual void display(std::ostream& out, const std::vector<ClockInfo>& clocks) const = 0;
  /// The constraints as a property-language conjunction, each preceded by
  /// " and ", with the same names.
  virtual void displayAsQuery(std::ostream& out, const std::vector<ClockInfo>& clocks) const = 0;
  /// True if no clock has an upper bound.
  virtual bool isUnbounded() const = 0;
  /// The number of clocks, the reference clock included.
  virtual unsigned getDim() const = 0;
  virtual bool isEmpty() const = 0;
  /// This := the convex hull of this and `other`.
  virtual void convexHull(UnpackedRegion* other) = 0;
  /// Constrains x_i - x_j to <= value (or < value when strict), without
  /// closing. False when a cycle through the opposite entry shows the region
  /// empty.
  virtual bool tighten(int i, int j, int value, bool strict) = 0;
  /// `tighten` with the bound given raw.
  virtual bool tightenRaw(int i, int j, int raw) = 0;
  /// Brings the matrix back to closed form after tightenings.
  virtual void close() = 0;
  /// Delay: every upper bound on a clock is removed.
  virtual void delay() = 0;
  /// Past: every lower bound is lowered as far as the clock differences allow.
  virtual void past() = 0;
  /// Writes this zone into `target`, a DBM of the same dimension; returns it.
  virtual _dbm_* asDBM(_dbm_* target) const = 0;
  /// This zone as a clock difference diagram of `library`, which must know at
  /// least this zone's clocks.
  virtual cdd asCDD(CddLibrary& library) const = 0;
  /// Copies the zone of `other` (same dimension) into this region.
  virtual Region& operator=(const Region& other) = 0;
  virtual ~Region() = default;

  /// Runs the destructor and, for a heap block from `create`, frees it. A
  /// region built in caller memory only has its destructor run: the memory
  /// stays the caller's. Null is ignored.
  static void remove(Region* region);

  Region(const Region&) = delete;

protected:
  Region(unsigned dim, bool heapBlock);

  /// The dimension, below 256: the loader rejects bigger models.
  uint8_t dim_;
  /// True when the block came from the heap through `create`.
  bool heapBlock_;
};

} // namespace orvela
