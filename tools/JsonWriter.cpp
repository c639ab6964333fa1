#include "JsonWriter.h"

#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>

namespace orvela::verifier {

namespace {

/// The length of the well-formed UTF-8 sequence at the start of `text`, or 0.
std::size_t utf8Length(std::string_view text) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(0);
  std::size_t length;
  unsigned lowest;
  if (lead >= 0xc2 && lead <= 0xdf) {
    length = 2;
    lowest = 0x80;
  } else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3;
    lowest = 0x800;
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4;
    lowest = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length)
    return 0;
  unsigned code = lead & (0x7f >> length);
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(k) & 0xc0) != 0x80)
      return 0;
    code = code << 6 | (byte(k) & 0x3f);
  }
  const bool surrogate = code >= 0xd800 && code <= 0xdfff;
  return code >= lowest && code <= 0x10ffff && !surrogate ? length : 0;
}

} // namespace

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (static_cast<unsigned char>(c) >= 0x80) {
      // JSON text is UTF-8: a byte that starts no valid sequence becomes the
      // replacement character.
      const std::size_t length = utf8Length(text.substr(at));
      if (length == 0) {
        out += "\\ufffd";
      } else {
        out.append(text.substr(at, length));
        at += length - 1;
      }
      continue;
    }
    switch (c) {
    case '"':
      out += "\\\"";
      break;
    case '\\':
      out += "\\\\";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\r':
      out += "\\r";
      break;
    case '\t':
      out += "\\t";
      break;
    default:
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(c));
        out += escape;
      } else {
        out += c;
      }
    }
  }
  return out + '"';
}

void JsonWriter::element() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (filled_.empty())
    return;
  if (filled_.back())
    out_ << ',';
  filled_.back() = true;
  out_ << '\n' << std::string(2 * filled_.size(), ' ');
}

void JsonWriter::open(char bracket) {
  element();
  out_ << bracket;
  filled_.push_back(false);
}

void JsonWriter::close(char bracket) {
  const bool filled = filled_.back();
  filled_.pop_back();
  if (filled)
    out_ << '\n' << std::string(2 * filled_.size(), ' ');
  out_ << bracket;
  if (filled_.empty())
    out_ << '\n';
}

void JsonWriter::beginObject() { open('{'); }
void JsonWriter::endObject() { close('}'); }
void JsonWriter::beginArray() { open('['); }
void JsonWriter::endArray() { close(']'); }

void JsonWriter::key(std::string_view name) {
  element();
  out_ << quoted(name) << ": ";
  afterKey_ = true;
}

void JsonWriter::value(std::string_view text) {
  element();
  out_ << quoted(text);
}

void JsonWriter::value(std::uint64_t number) {
  element();
  out_ << number;
}

void JsonWriter::value(int number) {
  element();
  out_ << number;
}

void JsonWriter::value(double number, int digits) {
  element();
  if (!std::isfinite(number)) {
    out_ << "null";
    return;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", digits, number);
  out_ << text;
}

void JsonWriter::value(bool flag) {
  element();
  out_ << (flag ? "true" : "false");
}

void JsonWriter::null() {
  element();
  out_ << "null";
}

} // namespace orvela::verifier
