#include "Json.h"

#include <cstdlib>

namespace orvela::test {

const JsonValue& JsonValue::at(const std::string& name) const {
  if (kind == Kind::object)
    for (const auto& [key, value] : members)
      if (key == name)
        return value;
  throw std::out_of_range("no member " + name);
}

bool JsonValue::has(const std::string& name) const {
  if (kind == Kind::object)
    for (const auto& member : members)
      if (member.first == name)
        return true;
  return false;
}

const JsonValue& JsonValue::operator[](std::size_t index) const {
  if (kind != Kind::array || index >= items.size())
    throw std::out_of_range("no element " + std::to_string(index));
  return items[index];
}

namespace {

class Reader {
public:
  explicit Reader(const std::string& text) : text_(text) {}

  JsonValue document() {
    JsonValue value = parseValue();
    blanks();
    if (at_ != text_.size())
      fail("text after the document");
    return value;
  }

private:
  [[noreturn]] void fail(const std::string& what) const {
    throw std::runtime_error("invalid JSON at offset " + std::to_string(at_) + ": " + what);
  }
  void blanks() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
      ++at_;
  }
  char peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
  void expect(char c) {
    if (peek() != c)
      fail(std::string("'") + c + "' expected");
    ++at_;
  }
  void word(const char* literal) {
    for (const char* c = literal; *c; ++c)
      expect(*c);
  }

  JsonValue parseValue() {
    blanks();
    JsonValue value;
    switch (peek()) {
    case '{':
      value.kind = JsonValue::Kind::object;
      ++at_;
      blanks();
      if (peek() == '}') {
        ++at_;
        return value;
      }
      for (;;) {
        blanks();
        std::string key = parseString();
        blanks();
        expect(':');
        value.members.emplace_back(std::move(key), parseValue());
        blanks();
        if (peek() == '}') {
          ++at_;
          return value;
        }
        expect(',');
      }
    case '[':
      value.kind = JsonValue::Kind::array;
      ++at_;
      blanks();
      if (peek() == ']') {
        ++at_;
        return value;
      }
      for (;;) {
        value.items.push_back(parseValue());
        blanks();
        if (peek() == ']') {
          ++at_;
          return value;
        }
        expect(',');
      }
    case '"':
      value.kind = JsonValue::Kind::string;
      value.text = parseString();
      return value;
    case 't':
      word("true");
      value.kind = JsonValue::Kind::boolean;
      value.boolean = true;
      return value;
    case 'f':
      word("false");
      value.kind = JsonValue::Kind::boolean;
      return value;
    case 'n':
      word("null");
      return value;
    default:
      value.kind = JsonValue::Kind::number;
      value.number = parseNumber();
      return value;
    }
  }

  double parseNumber() {
    const std::size_t start = at_;
    const auto digits = [&] {
      const std::size_t first = at_;
      while (peek() >= '0' && peek() <= '9')
        ++at_;
      if (at_ == first)
        fail("digit expected");
    };
    if (peek() == '-')
      ++at_;
    if (peek() == '0')
      ++at_; // no leading zeros
    else
      digits();
    if (peek() == '.') {
      ++at_;
      digits();
    }
    if (peek() == 'e' || peek() == 'E') {
      ++at_;
      if (peek() == '+' || peek() == '-')
        ++at_;
      digits();
    }
    return std::strtod(text_.substr(start, at_ - start).c_str(), nullptr);
  }

  std::string parseString() {
    expect('"');
    std::string out;
    for (;;) {
      const char c = peek();
      if (c == '\0' && at_ >= text_.size())
        fail("unterminated string");
      ++at_;
      if (c == '"')
        return out;
      if (static_cast<unsigned char>(c) < 0x20)
        fail("control character in a string");
      if (c != '\\') {
        out += c;
        continue;
      }
      const char escape = peek();
      ++at_;
      switch (escape) {
      case '"':
      case '\\':
      case '/':
        out += escape;
        break;
      case 'b':
        out += '\b';
        break;
      case 'f':
        out += '\f';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'u': {
        unsigned code = 0;
        for (int k = 0; k < 4; ++k) {
          const char h = peek();
          ++at_;
          const int digit = h >= '0' && h <= '9'   ? h - '0'
                            : h >= 'a' && h <= 'f' ? h - 'a' + 10
                            : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                   : -1;
          if (digit < 0)
            fail("bad \\u escape");
          code = code * 16 + unsigned(digit);
        }
        // The tests only look at ASCII; other characters stand as '?'.
        out += code < 0x80 ? char(code) : '?';
        break;
      }
      default:
        fail("bad escape");
      }
    }
  }

  const std::string& text_;
  std::size_t at_ = 0;
};

} // namespace

JsonValue parseJson(const std::string& text) { return Reader(text).document(); }

} // namespace orvela::test
