#pragma once
// The record in which the default passed/waiting list keeps a state: its
// discrete part and its zone in one flat run of words, with no object headers
// and no pointers, so that a node holds little beyond the bounds and a
// comparison is a few plain loops over contiguous rows.
//
// Record layout:
//   hash        int32: the discrete hash given with the state (bit pattern)
//   trace id    int32: the state's trace identifier
//   locations   one 16-bit location per process, two per int32 word, the
//               last word padded with 0
//   integers    int32: every value of the integer table
//   bounds      the n·n raw bounds of the closed zone except the diagonal
//               (always <= 0 in a non-empty closed zone), row by row, each an
//               int32 (wide records) or an int16 (narrow records, for zones
//               whose finite raw bounds all lie in [-32768, 32766]; 32767
//               stands for "no bound"). Both forms keep the order of bounds.
// The key of a state (what tells states apart) is its locations and its first
// `comparedIntegers` values; the hash is a function of the key.

#include "dbm/RawBound.h"

#include <cstddef>
#include <cstdint>

namespace orvela {

/// The numbers that fix the size of a stored state.
struct StateShape {
  unsigned processes;
  unsigned integers;         ///< values in an integer table
  unsigned comparedIntegers; ///< the leading values that tell states apart
  unsigned clocks;           ///< the zone's dimension, reference clock included
};

/// Offsets and codecs of the record for one shape and one bound width.
class StoredStateLayout {
public:
  /// The stored form of "no bound" in a narrow record.
  static constexpr int16_t narrowInfinity = INT16_MAX;

  StoredStateLayout(const StateShape& shape, bool narrow);

  const StateShape& shape() const { return shape_; }
  bool narrow() const { return narrow_; }
  /// Words of a record (int32 words; narrow bounds take half a word each).
  std::size_t recordWords() const { return recordWords_; }

  /// Writes a state's record into `record` (recordWords() words, aligned for
  /// int32). `zone` is the closed n·n matrix of a non-empty zone. Answers
  /// false, with the record unusable, when the layout is narrow and a bound
  /// does not fit; a wide layout always answers true.
  bool encode(int32_t* record, unsigned hash, int traceId, const uint16_t* locations,
              const int32_t* integers, const int32_t* zone) const;

  /// Inclusion of the stored state in the incoming one (both records of this
  /// layout): `none` when their keys differ or neither zone includes the
  /// other. Cheapest rejection first (hash, key), then one pass over the
  /// bounds that stops as soon as both directions are decided.
  Inclusion relation(const int32_t* stored, const int32_t* incoming) const;
  /// True when both records (of this layout, or only their discrete parts)
  /// have the same hash and key.
  bool sameKey(const int32_t* a, const int32_t* b) const {
    return a[hashAt_] == b[hashAt_] && firstDifferenceOfKey(a, b) == keyEnd_;
  }
  /// Words of the discrete part of a record (everything before the bounds);
  /// the same for every bound width.
  std::size_t discreteWords() const { return boundsAt_; }

  unsigned hashOf(const int32_t* record) const { return static_cast<uint32_t>(record[0]); }
  int traceIdOf(const int32_t* record) const { return record[1]; }
  void locationsOf(const int32_t* record, uint16_t* locations) const;
  const int32_t* integersOf(const int32_t* record) const { return record + integersAt_; }
  /// Writes the closed n·n matrix back, the diagonal <= 0 ("no bound" as
  /// 0x7fffffff).
  void zoneOf(const int32_t* record, int32_t* zone) const;
  /// Rewrites a record of this layout as a record of `wide` (same shape,
  /// wide bounds).
  void widen(const int32_t* record, int32_t* wideRecord, const StoredStateLayout& wide) const;

private:
  static constexpr std::size_t hashAt_ = 0;
  static constexpr std::size_t traceIdAt_ = 1;
  static constexpr std::size_t locationsAt_ = 2;

  std::size_t firstDifferenceOfKey(const int32_t* a, const int32_t* b) const;
  const int16_t* narrowBounds(const int32_t* record) const {
    return reinterpret_cast<const int16_t*>(record + boundsAt_);
  }

  StateShape shape_;
  bool narrow_;
  std::size_t integersAt_;
  std::size_t keyEnd_; ///< one past the last key word
  std::size_t boundsAt_;
  std::size_t bounds_; ///< n·n - n
  std::size_t recordWords_;
};

} // namespace orvela
