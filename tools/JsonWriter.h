#pragma once
// A small writer of indented JSON text: containers, keys and scalar values,
// with the separators and the string escapes the format requires.

#include <cstdint>
#include <iosfwd>
#include <string_view>
#include <vector>

namespace orvela::verifier {

class JsonWriter {
public:
  explicit JsonWriter(std::ostream& out) : out_(out) {}

  void beginObject();
  void endObject();
  void beginArray();
  void endArray();
  /// The key of the next value; only inside an object.
  void key(std::string_view name);

  void value(std::string_view text);
  void value(const char* text) { value(std::string_view(text)); }
  void value(std::uint64_t number);
  void value(int number);
  /// Written with `digits` decimals; a value that is not finite becomes null.
  void value(double number, int digits);
  void value(bool flag);
  void null();

  /// A member of an object: `key(name)`, then the value.
  template <class T> void member(std::string_view name, const T& item) {
    key(name);
    value(item);
  }
  void member(std::string_view name, double number, int digits) {
    key(name);
    value(number, digits);
  }
  /// A member whose value is null when `present` is false.
  template <class T> void memberIf(std::string_view name, bool present, const T& item) {
    key(name);
    if (present)
      value(item);
    else
      null();
  }
  void memberIf(std::string_view name, bool present, double number, int digits) {
    key(name);
    if (present)
      value(number, digits);
    else
      null();
  }

private:
  /// The separator and the line break before a value or a key.
  void element();
  void open(char bracket);
  void close(char bracket);

  std::ostream& out_;
  /// Per open container: whether it holds an element yet.
  std::vector<bool> filled_;
  bool afterKey_ = false;
};

/// `text` as a JSON string literal, quotes included.
std::string quoted(std::string_view text);

} // namespace orvela::verifier
