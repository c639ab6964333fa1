#pragma once
// The integer valuation of a state: one flat block of words, the count n
// followed by the n values. Value i belongs to integer record i.

#include <cstdint>
#include <iosfwd>
#include <type_traits>

namespace orvela {

/// A count followed by that many int values, in one block of sizeOf(count)
/// ints. Built only through `create`, on the heap or in caller memory.
/// The class is final and must keep a single data member: the values follow
/// the count directly and are addressed from `this`.
class IntegerTable final {
public:
  /// Block size, in ints, of a table of `count` values.
  static constexpr int sizeOf(int count) { return count + 1; }

  /// A heap table of `count` values; with `initialise`, value i is the
  /// initial value of integer record i (0 beyond the records), otherwise the
  /// values are unspecified. Release it with `remove`.
  static IntegerTable* create(int count, bool initialise);
  /// The same in caller memory of at least sizeOf(count) ints, which stays the
  /// caller's: such a table is never passed to `remove`.
  static IntegerTable* create(int count, bool initialise, int* memory);
  /// Frees a heap table made by `create`; null is ignored.
  static void remove(IntegerTable* table);

  IntegerTable(const IntegerTable&) = delete;

  /// A new heap table with the same count and values.
  IntegerTable* copy() const;
  /// Copies this table's count of values from `other`, which holds at least
  /// as many (asserted).
  IntegerTable& operator=(const IntegerTable& other);
  /// Compares the first `IntegerInfo::realInts` values only, which both
  /// tables hold (asserted).
  bool operator==(const IntegerTable& other) const;

  int getCount() const { return count_; }
  int* getValues() { return reinterpret_cast<int*>(this + 1); }
  const int* getValues() const { return reinterpret_cast<const int*>(this + 1); }
  int& operator[](int i) { return getValues()[i]; }
  int operator[](int i) const { return getValues()[i]; }

  /// "name=value " for every integer record, in index order.
  void display(std::ostream& out) const;
  /// " and name==value" for every integer record, in index order.
  void displayAsQuery(std::ostream& out) const;

private:
  explicit IntegerTable(int count) : count_(count) {}
  ~IntegerTable() = default;
  void initialiseValues(bool fromRecords);

  int count_;
};

static_assert(sizeof(IntegerTable) == sizeof(int32_t), "the header is the count word");
static_assert(alignof(IntegerTable) == alignof(int32_t), "values follow the count unpadded");
static_assert(std::is_standard_layout_v<IntegerTable>);

/// `display`.
std::ostream& operator<<(std::ostream& out, const IntegerTable& table);

} // namespace orvela
