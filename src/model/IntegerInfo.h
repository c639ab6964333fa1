#pragma once
// The table of integer variables of the loaded model: one record per integer
// cell (every element of an array has its own), indexed like the integer
// vector of a state.

#include <iosfwd>
#include <string>
#include <vector>

namespace orvela {

/// One integer cell: its domain, initial value, index and name. Process-local
/// names are "Process.name"; array elements carry one "[i]" per dimension.
struct IntegerInfo {
  int lower;
  int upper;
  int initial;
  int index; ///< equal to the record's position in `integers`
  std::string name;
  bool meta; ///< false for every variable the model declares

  /// The records, in index order. Emptied by `resetModelTables`.
  static std::vector<IntegerInfo> integers;
  /// Number of records whose meta flag is false.
  static int realInts;

  /// Appends a declared (non-meta) record with the next index, counts it in
  /// `realInts` and answers its index.
  static int addInteger(const char* name, int lower, int upper, int initial);
  /// Index of the first record named `name`, or -1.
  static int getOffset(const char* name);
  /// Diagnostic dump of every record, each followed by an empty line.
  static void printInfo(std::ostream& out);
};

/// "Integer name (index)", then "  Domain: [lower, upper] = initial", each on
/// its own line.
std::ostream& operator<<(std::ostream& out, const IntegerInfo& info);

} // namespace orvela
