#include "base/MemoryReserve.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace orvela {

namespace {

void* reserve = nullptr;

void releaseReserveAndFail() {
  std::free(reserve);
  reserve = nullptr;
  throw std::bad_alloc();
}

} // namespace

void armMemoryReserve(std::size_t bytes) {
  if (!reserve) {
    reserve = std::malloc(bytes);
    if (!reserve)
      throw std::bad_alloc();
    // Touch every page so that the reserve is really there when it is needed.
    std::memset(reserve, 0, bytes);
  }
  std::set_new_handler(releaseReserveAndFail);
}

bool memoryReserveArmed() { return reserve != nullptr; }

} // namespace orvela
