// The verification server: talks to one client over standard input and output.

#include "server/Client.h"
#include "server/CommandLoop.h"
#include "server/base/Exceptions.h"
#include "server/base/MemoryReserve.h"

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
