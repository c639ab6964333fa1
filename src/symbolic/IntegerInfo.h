#pragma once
// A record of the integer table of a model (`ModelTables`): one per integer
// cell (every element of an array has its own), indexed like the integer
// vector of a state.

#include <string>

namespace orvela {

/// One integer cell: its domain, initial value, index and name. Process-local
/// names are "Process.name"; array elements carry one "[i]" per dimension.
struct IntegerInfo {
  int lower;
  int upper;
  int initial;
  int index; ///< equal to the record's position in the table
  std::string name;
  bool meta; ///< false for every variable the model declares
};

} // namespace orvela
