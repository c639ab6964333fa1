#pragma once
// A strict reader of JSON text (RFC 8259) for the tests of the verifier's
// documents: a document that is not valid JSON fails to parse.

#include <cstring>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvela::test {

/// A parsed value; an object keeps its members in document order, the values
/// in `items` and their names in `names`.
struct JsonValue {
  enum class Kind { null, boolean, number, string, array, object };
  Kind kind = Kind::null;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<JsonValue> items;
  std::vector<std::string> names;

  bool isNull() const { return kind == Kind::null; }
  /// The member `name`; throws std::out_of_range when there is none.
  const JsonValue& at(const std::string& name) const {
    for (std::size_t k = 0; k < names.size(); ++k)
      if (names[k] == name)
        return items[k];
    throw std::out_of_range("no member " + name);
  }
  /// The element `index` of an array; throws std::out_of_range.
  const JsonValue& operator[](std::size_t index) const { return items.at(index); }
  std::size_t size() const { return items.size(); }
};

/// Parses a whole document (surrounding white space allowed); throws
/// std::runtime_error naming the offset of the first fault.
inline JsonValue parseJson(const std::string& text) {
  std::size_t at = 0;
  auto fail = [&](const char* what) {
    throw std::runtime_error("invalid JSON at offset " + std::to_string(at) + ": " + what);
  };
  auto next = [&] { // the next character after blanks, '\0' at the end
    while (at < text.size() && std::strchr(" \t\n\r", text[at]))
      ++at;
    return at < text.size() ? text[at] : '\0';
  };
  auto take = [&](char c) { return next() == c && ++at; };
  auto string = [&] {
    std::string out;
    const char* const plain = "\"\\/bfnrt";
    for (++at; at < text.size() && text[at] != '"'; ++at) {
      const char c = text[at];
      const char* const escape = c == '\\' && at + 1 < text.size() && text[at + 1]
                                     ? std::strchr(plain, text[at + 1])
                                     : nullptr;
      if (static_cast<unsigned char>(c) < 0x20)
        fail("control character in a string");
      if (c != '\\') {
        out += c;
      } else if (escape) {
        out += "\"\\/\b\f\n\r\t"[escape - plain];
        ++at;
      } else if (std::regex_match(text.substr(at + 1, 5), std::regex("u[0-9a-fA-F]{4}"))) {
        const unsigned long code = std::stoul(text.substr(at + 2, 4), nullptr, 16);
        out += code < 0x80 ? char(code) : '?'; // the tests only read ASCII text
        at += 5;
      } else {
        fail("bad escape");
      }
    }
    if (at++ >= text.size())
      fail("unterminated string");
    return out;
  };
  const std::regex number(R"(-?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][-+]?[0-9]+)?)");
  auto value = [&](auto& self) -> JsonValue {
    JsonValue v;
    const char c = next();
    std::smatch match;
    if (take('{') || take('[')) {
      const char close = c == '{' ? '}' : ']';
      v.kind = c == '{' ? JsonValue::Kind::object : JsonValue::Kind::array;
      if (!take(close)) {
        do {
          if (c == '{') {
            if (next() != '"')
              fail("member name expected");
            v.names.push_back(string());
            if (!take(':'))
              fail("':' expected");
          }
          v.items.push_back(self(self));
        } while (take(','));
        if (!take(close))
          fail("',' or the end of the array or object expected");
      }
    } else if (c == '"') {
      v.kind = JsonValue::Kind::string;
      v.text = string();
    } else if (text.compare(at, 4, "null") == 0 || text.compare(at, 4, "true") == 0 ||
               text.compare(at, 5, "false") == 0) {
      v.kind = c == 'n' ? JsonValue::Kind::null : JsonValue::Kind::boolean;
      v.boolean = c == 't';
      at += c == 'f' ? 5 : 4;
    } else if (std::regex_search(text.cbegin() + long(at), text.cend(), match, number,
                                 std::regex_constants::match_continuous)) {
      v.kind = JsonValue::Kind::number;
      v.number = std::stod(match.str());
      at += std::size_t(match.length());
    } else {
      fail("a value expected");
    }
    return v;
  };
  JsonValue document = value(value);
  if (next() != '\0')
    fail("text after the document");
  return document;
}

} // namespace orvela::test
