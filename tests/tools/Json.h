#pragma once
// A strict reader of JSON text for the tests of the verifier's documents:
// anything that is not valid JSON (RFC 8259) is rejected.

#include <string>
#include <utility>
#include <vector>

namespace orvela::test {

struct JsonValue {
  enum class Kind { null, boolean, number, string, array, object };
  Kind kind = Kind::null;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<JsonValue> items;
  std::vector<std::pair<std::string, JsonValue>> members; ///< in document order

  bool isNull() const { return kind == Kind::null; }
  bool has(const std::string& name) const;
  /// The member `name`; throws std::out_of_range when there is none.
  const JsonValue& at(const std::string& name) const;
  /// The element `index` of an array; throws std::out_of_range.
  const JsonValue& operator[](std::size_t index) const { return items.at(index); }
  std::size_t size() const { return kind == Kind::object ? members.size() : items.size(); }
};

/// Parses a whole document (surrounding white space allowed); throws
/// std::runtime_error naming the offset of the first fault.
JsonValue parseJson(const std::string& text);

} // namespace orvela::test
