#pragma once
// The source text of guards, synchronisations, updates and invariants, kept
// in the model to be shown to clients.

#include <string_view>

namespace orvela {

/// A text of at most 511 characters; appending beyond that cuts the text.
class TextBuffer {
public:
  static constexpr int capacity = 512; ///< bytes, the terminating NUL included

  TextBuffer() { clearText(); }

  /// Appends `text`, as much of it as fits.
  void addToText(std::string_view text);
  /// Appends `number` in decimal.
  void addToText(int number);
  /// Empties the text.
  void clearText();

  const char* get() const { return text_; }
  bool empty() const { return length_ == 0; }

private:
  char text_[capacity];
  int length_;
};

} // namespace orvela
