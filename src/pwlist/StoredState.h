#pragma once
// The record in which the default passed/waiting list keeps a state: its
// discrete part and its zone in one flat run of 32-bit words, with no object
// headers and no pointers, so that a node holds little beyond the bounds and
// a comparison is a few plain loops over contiguous words.
//
// Record layout (int32 words):
//   hash        the discrete hash given with the state (its bit pattern)
//   trace id    the state's trace identifier
//   locations   one 16-bit location per process, two per word, the last
//               word padded with 0
//   integers    every value of the integer table
//   bounds      the n·n raw bounds of the closed zone except the diagonal
//               (always <= 0 in a non-empty closed zone), row by row
// The key of a state (what tells states apart) is its locations and its first
// `comparedIntegers` values; the hash is a function of the key.

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

/// Offsets and codecs of the record for one shape.
class StoredStateLayout {
public:
  explicit StoredStateLayout(const StateShape& shape);

  const StateShape& shape() const { return shape_; }
  /// Words of a record.
  std::size_t recordWords() const { return boundsAt_ + bounds_; }

  /// Writes a state's record into `record` (recordWords() words). `zone` is
  /// the closed n·n matrix of a non-empty zone.
  void encode(int32_t* record, unsigned hash, int traceId, const uint16_t* locations,
              const int32_t* integers, const int32_t* zone) const;

  /// The relation of the stored state to the incoming one, in the region
  /// codes: 0 when their keys differ or neither zone includes the other,
  /// 1 when the stored zone includes the incoming one, 2 when the incoming
  /// zone includes the stored one, 4 when they are equal. One pass over the
  /// bounds that stops as soon as both directions are decided.
  int relation(const int32_t* stored, const int32_t* incoming) const;

  unsigned hashOf(const int32_t* record) const { return static_cast<uint32_t>(record[0]); }
  int traceIdOf(const int32_t* record) const { return record[1]; }
  void locationsOf(const int32_t* record, uint16_t* locations) const;
  const int32_t* integersOf(const int32_t* record) const { return record + integersAt_; }
  /// Writes the closed n·n matrix back, the diagonal <= 0.
  void zoneOf(const int32_t* record, int32_t* zone) const;

private:
  static constexpr std::size_t hashAt_ = 0;
  static constexpr std::size_t traceIdAt_ = 1;
  static constexpr std::size_t locationsAt_ = 2;

  StateShape shape_;
  std::size_t integersAt_;
  std::size_t keyEnd_; ///< one past the last key word
  std::size_t boundsAt_;
  std::size_t bounds_; ///< n·n - n
};

} // namespace orvela
