// The verification server: talks to one client over standard input and output.

#include "base/Exceptions.h"
#include "base/MemoryReserve.h"
#include "server/Client.h"
#include "server/CommandLoop.h"

#include <iostream>
#include <new>

int main() {
  try {
    orvela::armMemoryReserve();
  } catch (const std::bad_alloc&) {
    orvela::Client(std::cin, std::cout).writeFatalError(orvela::outOfMemoryMessage);
    return 1;
  }
  return orvela::CommandLoop(std::cin, std::cout).run();
}
