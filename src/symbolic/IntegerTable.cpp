#include "symbolic/IntegerTable.h"

#include <algorithm>
#include <cassert>
#include <new>
#include <ostream>

namespace orvela {

namespace {
// Number of records that have a value in a table of `count` values.
int recordsIn(int count, const std::vector<IntegerInfo>& records) {
  return std::min(count, static_cast<int>(records.size()));
}
} // namespace

IntegerTable* IntegerTable::create(int count, bool zeroed) {
  void* memory = ::operator new(sizeOf(count) * sizeof(int));
  return create(count, zeroed, static_cast<int*>(memory));
}

IntegerTable* IntegerTable::create(int count, bool zeroed, int* memory) {
  assert(count >= 0 && "negative integer count");
  auto* table = new (memory) IntegerTable(count);
  if (zeroed)
    std::fill_n(table->getValues(), count, 0);
  return table;
}

IntegerTable* IntegerTable::create(const std::vector<IntegerInfo>& records) {
  IntegerTable* table = create(static_cast<int>(records.size()), false);
  std::transform(records.begin(), records.end(), table->getValues(),
                 [](const IntegerInfo& record) { return record.initial; });
  return table;
}

void IntegerTable::remove(IntegerTable* table) {
  if (!table)
    return;
  table->~IntegerTable();
  ::operator delete(static_cast<void*>(table));
}

IntegerTable* IntegerTable::copy() const {
  IntegerTable* table = create(count_, false);
  std::copy_n(getValues(), count_, table->getValues());
  return table;
}

IntegerTable& IntegerTable::operator=(const IntegerTable& other) {
  assert(other.count_ >= count_ && "assignment from a smaller integer table");
  if (this != &other)
    std::copy_n(other.getValues(), count_, getValues());
  return *this;
}

bool IntegerTable::operator==(const IntegerTable& other) const {
  return count_ == other.count_ && std::equal(getValues(), getValues() + count_, other.getValues());
}

void IntegerTable::display(std::ostream& out, const std::vector<IntegerInfo>& records) const {
  const int shown = recordsIn(count_, records);
  for (int i = 0; i < shown; ++i)
    out << records[std::size_t(i)].name.c_str() << '=' << getValues()[i] << ' ';
}

void IntegerTable::displayAsQuery(std::ostream& out,
                                  const std::vector<IntegerInfo>& records) const {
  const int shown = recordsIn(count_, records);
  for (int i = 0; i < shown; ++i)
    out << " and " << records[std::size_t(i)].name.c_str() << "==" << getValues()[i];
}

} // namespace orvela
