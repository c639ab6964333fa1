#pragma once
// The integer valuation of a state: one flat block of words, the count n
// followed by the n values. Value i belongs to integer record i.

#include "symbolic/IntegerInfo.h"

#include <cstdint>
#include <iosfwd>
#include <type_traits>
#include <vector>

namespace orvela {

/// A count followed by that many int values, in one block of sizeOf(count)
/// ints. Built only through `create`, on the heap or in caller memory.
/// The class is final and must keep a single data member: the values follow
/// the count directly and are addressed from `this`.
class IntegerTable final {
public:
  /// Block size, in ints, of a table of `count` values.
  static constexpr int sizeOf(int count) { return count + 1; }

  /// A heap table of `count` values; with `zeroed` every value is 0,
  /// otherwise the values are unspecified. Release it with `remove`.
  static IntegerTable* create(int count, bool zeroed);
  /// The same in caller memory of at least sizeOf(count) ints, which stays the
  /// caller's: such a table is never passed to `remove`.
  static IntegerTable* create(int count, bool zeroed, int* memory);
  /// A heap table with one value per record: value i is the initial value of
  /// record i. Release it with `remove`.
  static IntegerTable* create(const std::vector<IntegerInfo>& records);
  /// Frees a heap table made by `create`; null is ignored.
  static void remove(IntegerTable* table);

  IntegerTable(const IntegerTable&) = delete;

  /// A new heap table with the same count and values.
  IntegerTable* copy() const;
  /// Copies this table's count of values from `other`, which holds at least
  /// as many (asserted).
  IntegerTable& operator=(const IntegerTable& other);
  /// Equal counts and equal values. Every table of a model holds exactly the
  /// model's integers, all of them declared ones, so this compares the
  /// discrete valuations of two states.
  bool operator==(const IntegerTable& other) const;

  int getCount() const { return count_; }
  int* getValues() { return reinterpret_cast<int*>(this + 1); }
  const int* getValues() const { return reinterpret_cast<const int*>(this + 1); }
  int& operator[](int i) { return getValues()[i]; }
  int operator[](int i) const { return getValues()[i]; }

  /// "name=value " for every integer record that has a value here, in index
  /// order; the names are those of `records`, the model's integer table.
  void display(std::ostream& out, const std::vector<IntegerInfo>& records) const;
  /// " and name==value" for the same records.
  void displayAsQuery(std::ostream& out, const std::vector<IntegerInfo>& records) const;

private:
  explicit IntegerTable(int count) : count_(count) {}
  ~IntegerTable() = default;

  int count_;
};

static_assert(sizeof(IntegerTable) == sizeof(int32_t), "the header is the count word");
static_assert(alignof(IntegerTable) == alignof(int32_t), "values follow the count unpadded");
static_assert(std::is_standard_layout_v<IntegerTable>);

} // namespace orvela
