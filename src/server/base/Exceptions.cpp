#include "server/base/Exceptions.h"

#include <cstdio>

namespace orvela {

void formatMessage(char* buffer, int capacity, const char* fmt, va_list args) noexcept {
  std::vsnprintf(buffer, static_cast<size_t>(capacity), fmt, args);
}

} // namespace orvela
