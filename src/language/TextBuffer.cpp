#include "language/TextBuffer.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace orvela {

void TextBuffer::addToText(std::string_view text) {
  const std::size_t room = static_cast<std::size_t>(capacity - 1 - length_);
  const std::size_t count = std::min(room, text.size());
  std::memcpy(text_ + length_, text.data(), count);
  length_ += static_cast<int>(count);
  text_[length_] = '\0';
}

void TextBuffer::addToText(int number) { addToText(std::to_string(number)); }

void TextBuffer::clearText() {
  length_ = 0;
  text_[0] = '\0';
}

} // namespace orvela
