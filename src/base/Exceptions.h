#pragma once
// The four failure kinds of the server, chosen by whose fault a failure is:
//   ProtocolError  the client broke the request syntax or asked for something
//                  the session cannot serve; answered "error" and served on.
//   InputError     the client's model or property text is unacceptable;
//                  answered "error" and served on.
//   Bug            an internal inconsistency; fatal.
//   RuntimeError   a resource or input-buffer failure; fatal.
// Each carries a printf-formatted message of at most 255 characters.
//
// Memory exhaustion is std::bad_alloc in every layer: the C-style code and the
// pools that get null from the heap throw it too, so that one handler sees
// every allocation failure and reports it with `outOfMemoryMessage`.

#include <cstdarg>
#include <exception>

namespace orvela {

/// Fills `buffer` (of `capacity` bytes) printf-style, truncating and always
/// terminating.
void formatMessage(char* buffer, int capacity, const char* fmt, va_list args) noexcept;

/// An exception with a fixed 256-byte message buffer. Each kind is a distinct
/// class, derived directly from std::exception, told apart by its tag.
template <class Tag> class FormattedError : public std::exception {
public:
  static constexpr int capacity = 256;

  explicit FormattedError(const char* fmt, ...) noexcept __attribute__((format(printf, 2, 3))) {
    va_list args;
    va_start(args, fmt);
    formatMessage(message_, capacity, fmt, args);
    va_end(args);
  }

  const char* what() const noexcept override { return message_; }

private:
  char message_[capacity];
};

using ProtocolError = FormattedError<struct ProtocolErrorTag>;
using InputError = FormattedError<struct InputErrorTag>;
using Bug = FormattedError<struct BugTag>;
using RuntimeError = FormattedError<struct RuntimeErrorTag>;

/// The message with which memory exhaustion is reported, wherever it happened.
inline constexpr const char* outOfMemoryMessage = "Memory allocation failed !!";

/// The message to report for `failure`: `outOfMemoryMessage` for
/// std::bad_alloc (whose own text says nothing to a user), `what()` otherwise.
const char* failureMessage(const std::exception& failure) noexcept;

} // namespace orvela
