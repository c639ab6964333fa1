#include "model/IntegerTable.h"

#include "model/IntegerInfo.h"

#include <algorithm>
#include <cassert>
#include <new>
#include <ostream>

namespace orvela {

namespace {
// Number of integer records that have a value in a table of `count` values.
int recordsIn(int count) { return std::min(count, static_cast<int>(IntegerInfo::integers.size())); }
} // namespace

IntegerTable* IntegerTable::create(int count, bool initialise) {
  void* memory = ::operator new(sizeOf(count) * sizeof(int));
  return create(count, initialise, static_cast<int*>(memory));
}

IntegerTable* IntegerTable::create(int count, bool initialise, int* memory) {
  assert(count >= 0 && "negative integer count");
  auto* table = new (memory) IntegerTable(count);
  table->initialiseValues(initialise);
  return table;
}

void IntegerTable::initialiseValues(bool fromRecords) {
  if (!fromRecords)
    return;
  int* values = getValues();
  const int records = recordsIn(count_);
  for (int i = 0; i < records; ++i)
    values[i] = IntegerInfo::integers[i].initial;
  std::fill(values + records, values + count_, 0);
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
  const int compared = IntegerInfo::realInts;
  assert(compared <= count_ && compared <= other.count_ && "table smaller than the model");
  return std::equal(getValues(), getValues() + compared, other.getValues());
}

void IntegerTable::display(std::ostream& out) const {
  const int records = recordsIn(count_);
  for (int i = 0; i < records; ++i)
    out << IntegerInfo::integers[i].name.c_str() << '=' << getValues()[i] << ' ';
}

void IntegerTable::displayAsQuery(std::ostream& out) const {
  const int records = recordsIn(count_);
  for (int i = 0; i < records; ++i)
    out << " and " << IntegerInfo::integers[i].name.c_str() << "==" << getValues()[i];
}

std::ostream& operator<<(std::ostream& out, const IntegerTable& table) {
  table.display(out);
  return out;
}

} // namespace orvela
