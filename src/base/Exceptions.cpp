#include "base/Exceptions.h"

#include <cstdio>
#include <new>

namespace orvela {

void formatMessage(char* buffer, int capacity, const char* fmt, va_list args) noexcept {
  std::vsnprintf(buffer, static_cast<size_t>(capacity), fmt, args);
}

const char* failureMessage(const std::exception& failure) noexcept {
  if (dynamic_cast<const std::bad_alloc*>(&failure))
    return outOfMemoryMessage;
  return failure.what();
}

} // namespace orvela
