#include "Json.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace orvela::test {

bool JsonValue::has(const std::string& name) const {
  for (const auto& member : members)
    if (member.first == name)
      return true;
  return false;
}

const JsonValue& JsonValue::at(const std::string& name) const {
  for (const auto& [key, value] : members)
    if (key == name)
      return value;
  throw std::out_of_range("no member " + name);
}

namespace {

class Reader {
public:
  explicit Reader(const std::string& text) : text_(text) {}

  JsonValue document() {
    JsonValue value = parseValue();
    if (skipBlanks() != '\0')
      fail("text after the document");
    return value;
  }

private:
  [[noreturn]] void fail(const std::string& what) const {
    throw std::runtime_error("invalid JSON at offset " + std::to_string(at_) + ": " + what);
  }
  char peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
  char skipBlanks() {
    while (peek() != '\0' && std::strchr(" \t\n\r", peek()))
      ++at_;
    return peek();
  }
  /// Consumes `c` when it comes next (after blanks).
  bool take(char c) {
    if (skipBlanks() != c)
      return false;
    ++at_;
    return true;
  }
  void expect(char c) {
    if (peek() != c)
      fail(std::string("'") + c + "' expected");
    ++at_;
  }
  void digits() {
    if (!std::isdigit(static_cast<unsigned char>(peek())))
      fail("digit expected");
    while (std::isdigit(static_cast<unsigned char>(peek())))
      ++at_;
  }

  JsonValue parseValue() {
    JsonValue value;
    const char c = skipBlanks();
    if (take('{')) {
      value.kind = JsonValue::Kind::object;
      if (take('}'))
        return value;
      do {
        skipBlanks();
        std::string key = parseString();
        skipBlanks();
        expect(':');
        value.members.emplace_back(std::move(key), parseValue());
      } while (take(','));
      expect('}');
    } else if (take('[')) {
      value.kind = JsonValue::Kind::array;
      if (take(']'))
        return value;
      do
        value.items.push_back(parseValue());
      while (take(','));
      expect(']');
    } else if (c == '"') {
      value.kind = JsonValue::Kind::string;
      value.text = parseString();
    } else if (c == 't' || c == 'f' || c == 'n') {
      const std::string word = c == 't' ? "true" : c == 'f' ? "false" : "null";
      for (char letter : word)
        expect(letter);
      value.kind = c == 'n' ? JsonValue::Kind::null : JsonValue::Kind::boolean;
      value.boolean = c == 't';
    } else {
      const std::size_t start = at_;
      if (peek() == '-')
        ++at_;
      if (peek() == '0')
        ++at_; // no leading zeros
      else
        digits();
      if (peek() == '.' && ++at_)
        digits();
      if ((peek() == 'e' || peek() == 'E') && ++at_) {
        if (peek() == '+' || peek() == '-')
          ++at_;
        digits();
      }
      value.kind = JsonValue::Kind::number;
      value.number = std::strtod(text_.substr(start, at_ - start).c_str(), nullptr);
    }
    return value;
  }

  std::string parseString() {
    expect('"');
    std::string out;
    for (char c; (c = peek()) != '"'; ++at_) {
      if (at_ >= text_.size() || static_cast<unsigned char>(c) < 0x20)
        fail("unterminated string or control character");
      if (c != '\\') {
        out += c;
        continue;
      }
      ++at_;
      const char* const plain = "\"\\/bfnrt";
      const char* const meant = "\"\\/\b\f\n\r\t";
      if (const char* escape = peek() ? std::strchr(plain, peek()) : nullptr) {
        out += meant[escape - plain];
      } else if (peek() == 'u') {
        const std::string hex = text_.substr(at_ + 1, 4);
        if (hex.size() != 4 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
          fail("bad \\u escape");
        const unsigned long code = std::strtoul(hex.c_str(), nullptr, 16);
        out += code < 0x80 ? char(code) : '?'; // the tests only look at ASCII
        at_ += 4;
      } else {
        fail("bad escape");
      }
    }
    ++at_;
    return out;
  }

  const std::string& text_;
  std::size_t at_ = 0;
};

} // namespace

JsonValue parseJson(const std::string& text) { return Reader(text).document(); }

} // namespace orvela::test
