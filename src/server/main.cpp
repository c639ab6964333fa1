// The verification server: talks to one client over standard input and output.

#include "base/Exceptions.h"
#include "base/MemoryReserve.h"
#include "server/Client.h"
#include "server/CommandLoop.h"

#include <new>

int main() {
  try {
    orvela::armMemoryReserve();
  } catch (const std::bad_alloc&) {
    orvela::writeFatalError(orvela::outOfMemoryMessage);
    return 1;
  }
  return orvela::runCommandLoop();
}
